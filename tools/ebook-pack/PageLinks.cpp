#include "PageLinks.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "archive/BookImage.h"
#include "navigation/LinkCommand.h"
#include "search/SearchText.h"
#include "text/CaseFolding.h"

namespace ebook {
namespace {

constexpr std::string_view kBlanks = " \t\r\n\f";

std::string Lowered(std::string_view text) {
  std::string lowered(text.size(), '\0');
  LowerAscii(text.data(), lowered.data(), text.size());
  return lowered;
}

bool IsBlank(char c) { return kBlanks.find(c) != std::string_view::npos; }

std::string_view TrimmedBlanks(std::string_view text) {
  const size_t begin = text.find_first_not_of(kBlanks);
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

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

// The browser reads "&amp;" in an attribute as "&" ("a.html?x=1&amp;y=2", "r&amp;d.html").
std::string WithAmpersands(std::string_view value) {
  std::string text(value);
  for (size_t at = 0; (at = text.find("&amp;", at)) != std::string::npos; ++at)
    text.erase(at + 1, 4);
  return text;
}

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

// The end of the element whose body runs from `from` ("</script", "</style"), or the text's end.
size_t BodyEnd(std::string_view lowered, std::string_view tag, size_t from) {
  const size_t end = lowered.find("</" + std::string(tag), from);
  return end == std::string_view::npos ? lowered.size() : end;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

std::vector<PageLink> CssLinks(std::string_view css, int firstLine) {
  const std::string lowered = Lowered(css);
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
    while (i < css.size() && IsBlank(css[i])) ++i;
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
                     std::string(TrimmedBlanks(css.substr(begin, end - begin))), lines.At(begin)});
    i = end;
  }
  return links;
}

std::vector<PageLink> HtmlLinks(std::string_view html, std::vector<std::string>* ids) {
  const std::string lowered = Lowered(html);
  LineCounter lines(html, 1);
  std::vector<PageLink> links;
  size_t pos = 0;
  while ((pos = html.find('<', pos)) != std::string_view::npos) {
    if (html.compare(pos, 4, "<!--") == 0) {
      const size_t end = html.find("-->", pos + 4);
      if (end == std::string_view::npos) break;
      pos = end + 3;
      continue;
    }
    size_t i = pos + 1;
    while (i < html.size() && std::isalnum(static_cast<unsigned char>(html[i]))) ++i;
    if (i == pos + 1) {  // an end tag, a declaration or a lone "<"
      ++pos;
      continue;
    }
    const std::string tag = lowered.substr(pos + 1, i - pos - 1);
    while (i < html.size() && html[i] != '>') {
      if (IsBlank(html[i]) || html[i] == '/') {
        ++i;
        continue;
      }
      const size_t nameBegin = i;
      while (i < html.size() && !IsBlank(html[i]) && html[i] != '/' && html[i] != '>' &&
             html[i] != '=')
        ++i;
      const std::string attribute = lowered.substr(nameBegin, i - nameBegin);
      while (i < html.size() && IsBlank(html[i])) ++i;
      if (i >= html.size() || html[i] != '=') continue;
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
      const std::string_view value = html.substr(begin, end - begin);
      const int line = lines.At(begin);
      if (ids && (attribute == "id" || (attribute == "name" && tag == "a")))
        ids->push_back(WithAmpersands(value));
      if (NamesAddress(tag, attribute))
        links.push_back({tag + " " + attribute, WithAmpersands(TrimmedBlanks(value)), line});
      if (attribute == "style") Append(links, CssLinks(value, line));
    }
    pos = i;
    if (tag == "script" || tag == "style") {
      const size_t end = BodyEnd(lowered, tag, pos);
      if (tag == "style") Append(links, CssLinks(html.substr(pos, end - pos), lines.At(pos)));
      pos = end;
    }
  }
  return links;
}

LinkTarget ResolveLink(std::string_view from, std::string_view address) {
  if (ParseLinkCommand(address)) return {};
  address = TrimmedBlanks(address);
  const size_t tailAt = std::min(address.find_first_of("?#"), address.size());
  const std::string_view tail = address.substr(tailAt);
  const size_t hash = tail.find('#');
  const std::string fragment =
      hash == std::string_view::npos ? std::string() : PercentDecoded(tail.substr(hash + 1));
  address = address.substr(0, tailAt);
  if (address.empty() && !fragment.empty() && !from.empty())  // a place in the page itself
    return {LinkTargetKind::Entry, std::string(from) + UpperAscii(tail), std::string(from), fragment};
  if (address.empty() || address.substr(0, 2) == "//") return {};
  // A scheme: a letter, then letters, digits, "+", "-" or ".", then ":" before any "/".
  const size_t colon = address.find(':');
  if (colon != std::string_view::npos && colon < address.find('/') &&
      std::isalpha(static_cast<unsigned char>(address[0])) &&
      std::all_of(
          address.begin(), address.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
          }))
    return {};

  std::string path;
  if (address.front() == '/') {
    address.remove_prefix(address.find_first_not_of('/') == std::string_view::npos
                              ? address.size()
                              : address.find_first_not_of('/'));
  } else {
    const size_t slash = from.rfind('/');
    if (slash != std::string_view::npos) path = from.substr(0, slash + 1);
  }
  // Walk the segments as the browser does: "." stays, ".." goes up one folder.
  std::vector<std::string> segments;
  for (size_t begin = 0; begin <= path.size();) {
    const size_t end = std::min(path.find('/', begin), path.size());
    if (end > begin) segments.emplace_back(path.substr(begin, end - begin));
    begin = end + 1;
  }
  for (size_t begin = 0; begin <= address.size();) {
    const size_t end = std::min(address.find('/', begin), address.size());
    const std::string_view segment = address.substr(begin, end - begin);
    if (segment == "..") {
      if (segments.empty()) return {LinkTargetKind::AboveTop, {}, {}, {}};
      segments.pop_back();
    } else if (segment != "." && !segment.empty()) {
      segments.emplace_back(segment);
    }
    begin = end + 1;
  }
  const size_t lastSlash = address.rfind('/');
  const std::string_view last =
      lastSlash == std::string_view::npos ? address : address.substr(lastSlash + 1);
  const bool folder = last.empty() || last == "." || last == "..";  // names a folder, not a file
  std::string joined;
  for (size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) joined += '/';
    joined += segments[i];
  }
  if (folder && !joined.empty()) joined += '/';
  // "%20" stands for a space.
  std::string entry;
  for (size_t i = 0; i < segments.size(); ++i) {
    if (i) entry += '/';
    entry += segments[i];
  }
  if (folder && !entry.empty()) entry += '/';
  const std::string asked = entry + std::string(tail);
  std::string request;
  for (size_t i = 0; i < asked.size(); ++i) {
    if (asked.compare(i, 3, "%20") == 0) {
      request += ' ';
      i += 2;
    } else {
      request += asked[i];
    }
  }
  return {LinkTargetKind::Entry, UpperAscii(request), UpperAscii(PercentDecoded(entry)), fragment};
}

}  // namespace ebook
