#include "text/PageEncoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "text/BookText.h"
#include "text/Utf8.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

constexpr size_t kPrescanBytes = 1024;

bool IsLabelChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' ||
         c == ':';
}

// The charset label that follows `key` ("charset" or "encoding") in `tag`, lower-cased.
std::string LabelAfter(std::string_view tag, std::string_view key) {
  for (size_t at = tag.find(key); at != std::string_view::npos; at = tag.find(key, at + 1)) {
    size_t i = at + key.size();
    while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t' || tag[i] == '\n' || tag[i] == '\r')) ++i;
    if (i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && (tag[i] == ' ' || tag[i] == '"' || tag[i] == '\'')) ++i;
    const size_t begin = i;
    while (i < tag.size() && IsLabelChar(tag[i])) ++i;
    if (i > begin) return std::string(tag.substr(begin, i - begin));
  }
  return {};
}

std::string DeclaredLabel(std::string_view page) {
  if (page.starts_with("\xEF\xBB\xBF")) return "utf-8";
  if (page.starts_with("\xFF\xFE")) return "utf-16le";
  if (page.starts_with("\xFE\xFF")) return "utf-16be";
  const std::string head = LowerAscii(page.substr(0, kPrescanBytes));
  for (size_t at = head.find("<meta"); at != std::string::npos; at = head.find("<meta", at + 5)) {
    const size_t end = head.find('>', at);
    const std::string label =
        LabelAfter(std::string_view(head).substr(at, end == std::string::npos ? std::string::npos : end - at), "charset");
    // A page that could be read as ASCII is not UTF-16, whatever it says: browsers read it as
    // UTF-8.
    if (label.starts_with("utf-16")) return "utf-8";
    if (!label.empty()) return label;
  }
  if (head.starts_with("<?xml")) {
    const size_t end = head.find("?>");
    return LabelAfter(std::string_view(head).substr(0, end), "encoding");
  }
  return {};
}

PageEncoding::Kind KindOfLabel(std::string_view label) {
  static constexpr std::string_view kUtf8[] = {"utf-8", "utf8", "unicode-1-1-utf-8"};
  static constexpr std::string_view kLegacy[] = {
      "windows-1252", "cp1252", "x-cp1252", "iso-8859-1", "iso8859-1", "iso_8859-1",
      "latin1",       "l1",     "us-ascii", "ascii",      "cp819",     "ibm819"};
  if (std::find(std::begin(kUtf8), std::end(kUtf8), label) != std::end(kUtf8))
    return PageEncoding::Kind::kUtf8;
  if (std::find(std::begin(kLegacy), std::end(kLegacy), label) != std::end(kLegacy))
    return PageEncoding::Kind::kWindows1252;
  return PageEncoding::Kind::kOther;
}

PageEncoding ByBookTextRule(std::string_view page) {
  PageEncoding encoding;
  encoding.kind = BookTextEncoding(page) == TextEncoding::kUtf8 ? PageEncoding::Kind::kUtf8
                                                                : PageEncoding::Kind::kWindows1252;
  return encoding;
}

}  // namespace

PageEncoding DetectPageEncoding(std::string_view page) {
  const PageEncoding declared = DeclaredPageEncoding(page);
  return declared.declared ? declared : ByBookTextRule(page);
}

PageEncoding DeclaredPageEncoding(std::string_view page) {
  const std::string label = DeclaredLabel(page);
  PageEncoding encoding;
  if (label.empty()) return encoding;
  encoding.declared = true;
  encoding.kind = KindOfLabel(label);
  if (encoding.kind == PageEncoding::Kind::kOther) encoding.charset = label;
  return encoding;
}

bool DeclaresCharset(std::string_view page) { return !DeclaredLabel(page).empty(); }

std::string PageToUtf8(std::string_view page, const PageEncoding& encoding) {
  switch (encoding.kind) {
    case PageEncoding::Kind::kUtf8:
      return DecodeText(page, TextEncoding::kUtf8);
    case PageEncoding::Kind::kWindows1252:
      return DecodeText(page, TextEncoding::kWindows1252);
    case PageEncoding::Kind::kOther:
      break;
  }
  const iconv_t converter = iconv_open("UTF-8", encoding.charset.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return DecodeBookText(page);
  std::string out(page.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(page.data());
  size_t inLeft = page.size();
  size_t done = 0;
  while (inLeft > 0) {
    char* to = out.data() + done;
    size_t outLeft = out.size() - done;
    const size_t result = iconv(converter, &in, &inLeft, &to, &outLeft);
    done = out.size() - outLeft;
    if (result != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
    } else {  // EILSEQ, or EINVAL for a sequence cut off at the end
      std::string replacement;
      AppendUtf8(replacement, kReplacementCharacter);
      if (out.size() - done < replacement.size()) out.resize(out.size() * 2);
      out.replace(done, replacement.size(), replacement);
      done += replacement.size();
      ++in;
      --inLeft;
    }
  }
  iconv_close(converter);
  out.resize(done);
  // A byte-order mark the converter kept belongs to no text.
  if (std::string_view(out).starts_with("\xEF\xBB\xBF")) out.erase(0, 3);
  return out;
}

}  // namespace ebook
