#include "PageLinks.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "navigation/EntryLookup.h"
#include "navigation/LinkCommand.h"
#include "search/SearchText.h"
#include "text/HtmlTags.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

// Line numbers of offsets into one text, asked for in ascending order.
class LineCounter {
 public:
  LineCounter(std::string_view text, int firstLine) : text_(text), line_(firstLine) {}
  int At(size_t offset) {
    offset = std::min(offset, text_.size());
    if (offset > at_) {
      line_ += static_cast<int>(std::count(text_.begin() + at_, text_.begin() + offset, '\n'));
      at_ = offset;
    }
    return line_;
  }

 private:
  std::string_view text_;
  size_t at_ = 0;
  int line_;
};

bool NamesAddress(std::string_view tag, std::string_view attribute) {
  static constexpr std::array kLinkTags = {"a",      "img",  "link",  "script", "frame",
                                           "iframe", "area", "embed", "source"};
  static constexpr std::array kBackgroundTags = {"body", "table", "tr", "td", "th"};
  if (attribute == "href" || attribute == "src")
    return std::find(kLinkTags.begin(), kLinkTags.end(), tag) != kLinkTags.end();
  if (attribute == "background")
    return std::find(kBackgroundTags.begin(), kBackgroundTags.end(), tag) != kBackgroundTags.end();
  return false;
}

void Append(std::vector<PageLink>& links, std::vector<PageLink> more) {
  links.insert(links.end(), std::make_move_iterator(more.begin()),
               std::make_move_iterator(more.end()));
}

}  // namespace

std::vector<PageLink> CssLinks(std::string_view css, int firstLine) {
  const std::string lowered = LowerAscii(css);
  LineCounter lines(css, firstLine);
  std::vector<PageLink> links;
  size_t i = 0;
  while (i < css.size()) {
    if (css.compare(i, 2, "/*") == 0) {
      const size_t end = css.find("*/", i + 2);
      i = end == std::string_view::npos ? css.size() : end + 2;
      continue;
    }
    const bool url = lowered.compare(i, 4, "url(") == 0;
    const bool import = lowered.compare(i, 7, "@import") == 0;
    if (!url && !import) {
      ++i;
      continue;
    }
    i += url ? 4 : 7;
    while (i < css.size() && IsHtmlBlank(css[i])) ++i;
    if (i >= css.size()) break;
    const char quote = css[i];
    size_t begin = i, end;
    if (quote == '"' || quote == '\'') {
      begin = i + 1;
      end = css.find(quote, begin);
    } else if (url) {
      end = css.find(')', begin);
    } else {
      continue;  // @import url(...): the url( is read next
    }
    if (end == std::string_view::npos) end = css.size();
    links.push_back({url ? "url()" : "@import",
                     std::string(TrimHtmlBlanks(css.substr(begin, end - begin))), lines.At(begin)});
    i = end;
  }
  return links;
}

std::vector<PageLink> HtmlLinks(std::string_view html, std::vector<std::string>* ids) {
  LineCounter lines(html, 1);
  std::vector<PageLink> links;
  HtmlTags tags(html);
  while (const std::optional<HtmlTag> tag = tags.Next()) {
    if (tag->end) continue;
    for (const HtmlAttribute& attribute : tag->attributes) {
      const int line = lines.At(attribute.valueAt);
      if (ids && (attribute.name == "id" || (attribute.name == "name" && tag->name == "a")))
        ids->push_back(AttributeText(attribute.value));
      if (NamesAddress(tag->name, attribute.name))
        links.push_back({tag->name + " " + attribute.name,
                         LinkAddressInHtml(attribute.value), line});
      if (attribute.name == "style") Append(links, CssLinks(attribute.value, line));
    }
    if (tag->name == "style")
      Append(links, CssLinks(html.substr(tag->after, tag->bodyEnd - tag->after), lines.At(tag->after)));
  }
  return links;
}

LinkTarget ResolveLink(std::string_view from, std::string_view address) {
  const LinkedPage page = ResolveLinkedPage(from, address);
  if (page.kind == LinkedPage::Kind::AboveTop) return {LinkTargetKind::AboveTop, {}, {}, {}};
  if (page.kind != LinkedPage::Kind::Page) return {};
  const size_t hash = page.tail.find('#');
  const std::string fragment =
      hash == std::string::npos ? std::string() : PercentDecoded(page.tail.substr(hash + 1));
  if (page.samePage) {  // a place in the page itself; a bare "?query" or "#" leads nowhere new
    if (fragment.empty() || from.empty()) return {};
    return {LinkTargetKind::Entry, page.path + UpperAscii(page.tail), page.path, fragment};
  }
  return {LinkTargetKind::Entry, UpperAscii(SpaceEscapesDecoded(page.path + page.tail)),
          UpperAscii(PercentDecoded(page.path)), fragment};
}

}  // namespace ebook
