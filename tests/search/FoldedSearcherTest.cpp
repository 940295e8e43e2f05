#include "search/FoldedSearcher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/CaseFolding.h"

namespace ebook {
namespace {

bool ReferenceContains(std::string_view text, std::string_view query) {
  std::string lowered(text.size(), '\0');
  LowerAscii(text.data(), lowered.data(), text.size());
  return lowered.find(query) != std::string::npos;
}

// Letters match in either case, other bytes only themselves (so "[" never matches "{", though
// they differ in the case bit alone, nor 0xC4 0xE4). Every length and position is tried, so that
// matches at and across the edges of the 16-byte blocks and after the last block are all seen.
TEST(FoldedSearcherTest, AgreesWithSearchingALowerCasedCopy) {
  std::mt19937 random(7);
  const std::string alphabet = "aAbB[{@`\xC4\xE4 ";
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  for (int round = 0; round < 4000; ++round) {
    std::string text(random() % 70, ' ');
    for (char& c : text) c = alphabet[pick(random)];
    std::string query(1 + random() % 5, ' ');
    for (char& c : query) c = alphabet[pick(random)];
    LowerAscii(query.data(), query.data(), query.size());
    ASSERT_EQ(FoldedSearcher(query).Contains(text), ReferenceContains(text, query))
        << "text \"" << text << "\" query \"" << query << "\"";
  }
  const std::string query = "needle";
  for (size_t size = query.size(); size < 80; ++size)
    for (size_t at = 0; at + query.size() <= size; ++at) {
      std::string text(size, 'n');
      text.replace(at, query.size(), "NeEdLe");
      ASSERT_TRUE(FoldedSearcher(query).Contains(text)) << size << " " << at;
      text[at + query.size() - 1] = 'x';
      ASSERT_FALSE(FoldedSearcher(query).Contains(text)) << size << " " << at;
    }
}

}  // namespace
}  // namespace ebook
