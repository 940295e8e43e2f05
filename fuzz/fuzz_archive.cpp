// Any file as a book: the index, the listing and reading every entry.
#include <cstdint>
#include <string>

#include "archive/BookImage.h"
#include "archive/ZLib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto image = ebook::BookImage::FromBytes(std::string(reinterpret_cast<const char*>(data), size));
  const auto names = image.EnumerateEntries();
  if (names.size() > image.index().entries().size()) __builtin_trap();
  for (const ebook::IndexedEntry& entry : image.index().entries()) {
    if (entry.dataBegin > entry.dataEnd || entry.dataEnd > size) __builtin_trap();
    try {
      (void)image.ReadEntry(entry.name);
    } catch (const ebook::EZDecompressionError&) {
    }
  }
  return 0;
}
