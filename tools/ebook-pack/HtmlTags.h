#pragma once
// A forgiving walk over the tags of an HTML page, for what the tool reads from pages: the
// contents lists of a start page, headings, and the ids links point at. Comments are skipped,
// and so are the bodies of scripts and style blocks (their text is not markup).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ebook {

struct HtmlTag {
  std::string name;                                             // lower-case; "" never
  bool end = false;                                             // "</name>"
  std::vector<std::pair<std::string, std::string>> attributes;  // names lower-case, values raw
  size_t begin = 0;                                             // offset of "<"
  size_t after = 0;                                             // offset after ">"

  // The value of the attribute, "&amp;" read as "&"; nullopt when absent.
  std::optional<std::string> Attribute(std::string_view name) const;
};

class HtmlTags {
 public:
  explicit HtmlTags(std::string_view html) : html_(html) {}
  // The next tag, or nullopt at the end of the page.
  std::optional<HtmlTag> Next();

 private:
  std::string_view html_;
  size_t at_ = 0;
};

// The text of an HTML fragment (already in UTF-8) as the reader sees it: tags taken out,
// character references decoded, blanks, line breaks and no-break spaces made one space, trimmed.
std::string VisibleText(std::string_view utf8Html);

}  // namespace ebook
