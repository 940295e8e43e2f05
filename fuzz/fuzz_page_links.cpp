// Any text as a page and as a style sheet: the link reader of the book checker, and every
// address it finds resolved from a page in a sub-folder; the tag walk the contents are made
// with, and every href it finds made a page name.
#include <cstdint>
#include <string_view>

#include "AutoToc.h"
#include "text/HtmlTags.h"
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
  ebook::HtmlTags tags(text);
  size_t last = 0;
  while (const std::optional<ebook::HtmlTag> tag = tags.Next()) {
    if (tag->begin < last || tag->after > size || tag->after <= tag->begin) __builtin_trap();
    last = tag->after;
    if (const std::optional<std::string> href = tag->Attribute("href"))
      (void)ebook::BookPageName("SUB/TOC.HTML", *href);
  }
  (void)ebook::VisibleText(text);
  return 0;
}
