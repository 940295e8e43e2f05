#pragma once
// A forgiving walk over the tags of an HTML page, for what is read from pages: the contents
// lists of a start page, headings, the addresses pages link to and the ids links point at.
// Comments are skipped, and so are the bodies of scripts and style blocks (their text is not
// markup; `bodyEnd` says where a style block's text ends).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ebook {

struct HtmlAttribute {
  std::string name;   // lower-case
  std::string value;  // raw: character references not decoded; "" when there is no "="
  size_t valueAt = 0; // offset of the value's first byte
};

struct HtmlTag {
  std::string name;  // lower-case; "" never
  bool end = false;  // "</name>"
  std::vector<HtmlAttribute> attributes;
  size_t begin = 0;    // offset of "<"
  size_t after = 0;    // offset after ">"
  size_t bodyEnd = 0;  // <script> and <style>: offset of their end tag, or the text's end

  // The value of the attribute as the browser reads it (AttributeText); nullopt when absent.
  std::optional<std::string> Attribute(std::string_view name) const;
};

// An attribute's value as the browser reads it: character references decoded, so that
// "a.html?x=1&amp;y=2" is "a.html?x=1&y=2" and id="&lt;init&gt;()" is "<init>()".
std::string AttributeText(std::string_view value);

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
