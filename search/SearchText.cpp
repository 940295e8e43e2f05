#include "search/SearchText.h"

#include <optional>

#include "text/BookText.h"
#include "text/CaseFolding.h"
#include "text/CharacterReferences.h"
#include "text/PageEncoding.h"
#include "text/PageTitle.h"
#include "text/Utf8.h"

namespace ebook {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

}  // namespace

std::string PagesFoundText(size_t count) { return std::to_string(count) + " Pages found"; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string QueryText(std::string_view typed) {
  const std::string text = IsValidUtf8(typed) ? std::string(typed) : DecodeBookText(typed);
  return std::string(TrimBlanks(text));
}

std::string NormalizeQuery(std::string_view typed) { return FoldUtf8(QueryText(typed)); }

std::string_view NameExtension(std::string_view name) {
  const size_t last = name.find_last_of(".\\:");
  if (last == std::string_view::npos || name[last] != '.') return {};
  return name.substr(last);
}

bool IsSearchablePage(std::string_view name) {
  const std::string_view extension = NameExtension(name);
  return extension == ".HTM" || extension == ".HTML" || extension == ".TXT";
}

std::string PageCaption(std::string_view page, std::string_view name) {
  const std::optional<std::string_view> title = TitleBytes(page);
  if (!title) return DecodeBookText(name);
  const std::string text = PageToUtf8(TrimBlanks(*title), DetectPageEncoding(page));
  return std::string(TrimBlanks(DecodeCharacterReferences(text)));
}

}  // namespace ebook
