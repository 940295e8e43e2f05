#include "text/PageTitle.h"

#include <algorithm>

#include "text/CharacterReferences.h"
#include "text/PageEncoding.h"

namespace ebook {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

// The first occurrence of `lowerNeedle` in `text`, comparing ASCII letters without case.
size_t FindCaseless(std::string_view text, std::string_view lowerNeedle, size_t from = 0) {
  if (lowerNeedle.empty() || text.size() < lowerNeedle.size()) return std::string_view::npos;
  for (size_t i = from; i + lowerNeedle.size() <= text.size(); ++i) {
    if (Lower(text[i]) != lowerNeedle[0]) continue;
    size_t k = 1;
    while (k < lowerNeedle.size() && Lower(text[i + k]) == lowerNeedle[k]) ++k;
    if (k == lowerNeedle.size()) return i;
  }
  return std::string_view::npos;
}

bool IsTagNameEnd(char c) {
  return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The first tag named by `lowerStart` ("<title", "</title"), not one whose name merely begins
// so ("<titlepage>").
size_t FindTag(std::string_view page, std::string_view lowerStart) {
  size_t at = FindCaseless(page, lowerStart);
  while (at != std::string_view::npos &&
         (at + lowerStart.size() >= page.size() || !IsTagNameEnd(page[at + lowerStart.size()])))
    at = FindCaseless(page, lowerStart, at + 1);
  return at;
}

}  // namespace

std::optional<std::string_view> TitleBytes(std::string_view page) {
  const size_t open = FindTag(page, "<title");
  if (open == std::string_view::npos) return std::nullopt;
  const size_t tagEnd = page.find('>', open);
  if (tagEnd == std::string_view::npos) return std::nullopt;
  const size_t begin = tagEnd + 1;
  const size_t close = FindTag(page, "</title");
  if (close == std::string_view::npos || close < begin) return std::nullopt;
  return page.substr(begin, close - begin);
}

std::string PageTitle(std::string_view page) {
  const std::optional<std::string_view> bytes = TitleBytes(page);
  if (!bytes) return {};
  const std::string text = DecodeCharacterReferences(PageToUtf8(*bytes, DetectPageEncoding(page)));
  std::string title;
  bool blank = false;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) <= 0x20) {
      blank = !title.empty();
      continue;
    }
    if (blank) title += ' ';
    blank = false;
    title += c;
  }
  return title;
}

}  // namespace ebook
