// Any bytes as an entry's stored data.
#include <cstdint>
#include <string_view>

#include "archive/ZLib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    (void)ebook::DecompressBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const ebook::EZDecompressionError&) {
  }
  return 0;
}
