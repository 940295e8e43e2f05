#pragma once
// Finds a lower-case query in text of any letter case, as if the text had been lower-cased
// (ASCII letters only) first, without writing a lower-cased copy: blocks of 16 positions are
// tested at once for two bytes of the query (its rarest in book pages), and only the positions
// where both fit are compared in full. Letters match in either case; every other byte matches only itself.

#include <string>
#include <string_view>

namespace ebook {

class FoldedSearcher {
 public:
  // `query` must hold no upper-case ASCII letter (NormalizeQuery gives such a query).
  explicit FoldedSearcher(std::string_view query);

  // Whether the query occurs in `text`; an empty query occurs in every text.
  bool Contains(std::string_view text) const;

 private:
  bool MatchesAt(const char* at) const;

  std::string query_;
  size_t first_ = 0;   // the two offsets of the query tested block by block,
  size_t second_ = 0;  // its rarest bytes; first_ <= second_
};

}  // namespace ebook
