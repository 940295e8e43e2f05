// Any bytes as the book's own text, as a page and as a requested page name: encodings, case
// folding, character references, titles, the name lookup and the search's matcher.
#include <cstdint>
#include <string>
#include <string_view>

#include "navigation/EntryLookup.h"
#include "search/QueryMatcher.h"
#include "search/SearchText.h"
#include "text/BookText.h"
#include "text/CaseFolding.h"
#include "text/CharacterReferences.h"
#include "text/PageEncoding.h"
#include "text/PageTitle.h"
#include "text/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = ebook::DecodeBookText(bytes);
  if (!ebook::IsValidUtf8(text)) __builtin_trap();
  // What the tool writes reads back as it was given.
  if (ebook::DecodeBookText(ebook::EncodeBookText(text)) != text) __builtin_trap();
  const std::string folded = ebook::FoldUtf8(bytes);
  if (folded.size() > bytes.size() + bytes.size() / 2) __builtin_trap();
  if (ebook::FoldUtf8(folded) != folded) __builtin_trap();  // folding twice changes nothing
  if (!ebook::IsValidUtf8(ebook::DecodeCharacterReferences(text))) __builtin_trap();

  const ebook::PageEncoding encoding = ebook::DetectPageEncoding(bytes);
  (void)ebook::PageToUtf8(bytes.substr(0, 4096), encoding);
  (void)ebook::PageTitle(bytes);
  (void)ebook::PageCaption(bytes, "PAGE.HTM");

  for (const std::string& candidate : ebook::EntryNameCandidates(bytes))
    if (candidate.size() > bytes.size() + 10) __builtin_trap();
  (void)ebook::ReducedEntryName(bytes);

  // The first line as a query, the rest as a page.
  const size_t newline = bytes.find('\n');
  if (newline != std::string_view::npos) {
    const std::string query = ebook::QueryText(bytes.substr(0, newline));
    if (!query.empty()) (void)ebook::QueryMatcher(query).Matches(bytes.substr(newline + 1));
  }
  return 0;
}
