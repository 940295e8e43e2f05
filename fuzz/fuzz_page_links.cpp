// Any text as a page and as a style sheet: the link reader of the book checker, and every
// address it finds resolved from a page in a sub-folder.
#include <cstdint>
#include <string_view>

#include "PageLinks.h"

namespace {

void Resolve(const std::vector<ebook::PageLink>& links, std::string_view text) {
  for (const ebook::PageLink& link : links) {
    if (link.line < 1 || link.address.size() > text.size()) __builtin_trap();
    const ebook::LinkTarget target = ebook::ResolveLink("CHAPTERS/ONE.HTML", link.address);
    if (target.kind == ebook::LinkTargetKind::Entry && target.entry.size() > text.size() + 17)
      __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Resolve(ebook::HtmlLinks(text), text);
  Resolve(ebook::CssLinks(text), text);
  (void)ebook::ResolveLink("INDEX.HTML", text);
  return 0;
}
