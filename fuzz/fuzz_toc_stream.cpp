// Any bytes as the contents entry: loading, walking in both orders, the text form.
#include <cstdint>
#include <string_view>

#include "contents/TocStream.h"
#include "contents/TocText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ebook::TocTree tree =
      ebook::ReadTocStream(std::string_view(reinterpret_cast<const char*>(data), size));
  size_t steps = 0;
  for (int n = tree.First(); n >= 0; n = tree.NextInOrder(n))
    if (++steps > tree.nodes.size()) __builtin_trap();  // the walk must not loop
  steps = 0;
  for (int n = tree.Last(); n >= 0; n = tree.PreviousInOrder(n))
    if (++steps > tree.nodes.size()) __builtin_trap();
  for (const ebook::TocNode& node : tree.nodes) (void)ebook::TocPageName(node.data);
  (void)ebook::FormatTocText(tree);
  return 0;
}
