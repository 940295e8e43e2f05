#pragma once
// ASCII-only letter case and trimming, the one rule every name comparison of the book uses:
// entry names, settings keys, tag and attribute names. Bytes from 0x80 up are never changed,
// so a Windows-1252 or UTF-8 name compares byte for byte outside the ASCII letters.
// Header-only: the archive room uses it and links nothing but zlib.

#include <string>
#include <string_view>

namespace ebook {

inline char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

inline std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAscii(c);
  return lower;
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

inline bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// `text` without blanks and control bytes (codes up to 32) at either end.
inline std::string_view TrimControl(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

// `text` without the HTML blanks (space, tab, CR, LF, form feed) at either end.
inline constexpr std::string_view kHtmlBlanks = " \t\r\n\f";
inline bool IsHtmlBlank(char c) { return kHtmlBlanks.find(c) != std::string_view::npos; }
inline std::string_view TrimHtmlBlanks(std::string_view text) {
  const size_t begin = text.find_first_not_of(kHtmlBlanks);
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(kHtmlBlanks) - begin + 1);
}

}  // namespace ebook
