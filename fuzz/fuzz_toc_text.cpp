// Any text as a contents file: what parses must survive the trip through the node stream.
#include <cstdint>
#include <string_view>

#include "contents/TocStream.h"
#include "contents/TocText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ebook::TocTree tree;
  try {
    tree = ebook::ParseTocText(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const ebook::TocTextError&) {
    return 0;
  }
  const ebook::TocTree loaded = ebook::ReadTocStream(ebook::WriteTocStream(tree));
  if (loaded.damaged || ebook::FormatTocText(loaded) != ebook::FormatTocText(tree)) __builtin_trap();
  return 0;
}
