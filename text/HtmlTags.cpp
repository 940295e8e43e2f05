#include "text/HtmlTags.h"

#include <cctype>

#include "text/CharacterReferences.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

bool IsBlank(char c) { return IsHtmlBlank(c); }
char Lower(char c) { return LowerAscii(c); }

// Offset of "</tag" from `from` compared without case, or the text's end.
size_t FindEndTag(std::string_view html, std::string_view tag, size_t from) {
  for (size_t at = html.find("</", from); at != std::string_view::npos;
       at = html.find("</", at + 2)) {
    size_t k = 0;
    while (k < tag.size() && at + 2 + k < html.size() && Lower(html[at + 2 + k]) == tag[k]) ++k;
    if (k == tag.size()) return at;
  }
  return html.size();
}

}  // namespace

std::string AttributeText(std::string_view value) { return DecodeCharacterReferences(value); }

std::optional<std::string> HtmlTag::Attribute(std::string_view wanted) const {
  for (const HtmlAttribute& attribute : attributes)
    if (attribute.name == wanted) return AttributeText(attribute.value);
  return std::nullopt;
}

std::optional<HtmlTag> HtmlTags::Next() {
  const std::string_view html = html_;
  while ((at_ = html.find('<', at_)) != std::string_view::npos) {
    if (html.compare(at_, 4, "<!--") == 0) {
      const size_t end = html.find("-->", at_ + 4);
      at_ = end == std::string_view::npos ? html.size() : end + 3;
      continue;
    }
    HtmlTag tag;
    tag.begin = at_;
    size_t i = at_ + 1;
    if (i < html.size() && html[i] == '/') {
      tag.end = true;
      ++i;
    }
    const size_t nameBegin = i;
    while (i < html.size() && (std::isalnum(static_cast<unsigned char>(html[i])) || html[i] == '-'))
      ++i;
    if (i == nameBegin || !std::isalpha(static_cast<unsigned char>(html[nameBegin]))) {
      ++at_;  // a declaration, a lone "<"
      continue;
    }
    for (size_t k = nameBegin; k < i; ++k) tag.name += Lower(html[k]);
    while (i < html.size() && html[i] != '>') {
      if (IsBlank(html[i]) || html[i] == '/') {
        ++i;
        continue;
      }
      std::string attribute;
      while (i < html.size() && !IsBlank(html[i]) && html[i] != '/' && html[i] != '>' &&
             html[i] != '=')
        attribute += Lower(html[i++]);
      while (i < html.size() && IsBlank(html[i])) ++i;
      if (i >= html.size() || html[i] != '=') {
        tag.attributes.push_back({std::move(attribute), std::string(), i});
        continue;
      }
      ++i;
      while (i < html.size() && IsBlank(html[i])) ++i;
      size_t begin = i, end;
      if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
        begin = i + 1;
        end = std::min(html.find(html[i], begin), html.size());
        i = std::min(end + 1, html.size());
      } else {
        while (i < html.size() && !IsBlank(html[i]) && html[i] != '>') ++i;
        end = i;
      }
      tag.attributes.push_back({std::move(attribute), std::string(html.substr(begin, end - begin)), begin});
    }
    tag.after = std::min(i + 1, html.size());
    at_ = tag.after;
    if (!tag.end && (tag.name == "script" || tag.name == "style"))
      at_ = FindEndTag(html, tag.name, at_);
    tag.bodyEnd = at_;
    return tag;
  }
  at_ = html.size();
  return std::nullopt;
}

std::string VisibleText(std::string_view html) {
  std::string text;
  bool inTag = false;
  for (const char c : html) {
    if (c == '<')
      inTag = true;
    else if (c == '>' && inTag)
      inTag = false;
    else if (!inTag)
      text += c;
  }
  text = DecodeCharacterReferences(text);
  std::string out;
  bool blank = false;
  for (size_t i = 0; i < text.size(); ++i) {
    // U+00A0, the no-break space, counts as a blank here too.
    const bool nbsp = text.compare(i, 2, "\xC2\xA0") == 0;
    if (IsBlank(text[i]) || nbsp) {
      blank = true;
      if (nbsp) ++i;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    out += text[i];
  }
  return out;
}

}  // namespace ebook
