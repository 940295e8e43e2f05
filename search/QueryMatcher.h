#pragma once
// Whether a page holds the query, with letter case ignored for every letter of the page's own
// encoding. The query is UTF-8 text; each page is read in its encoding (text/PageEncoding):
//
//   - An ASCII query is looked for in the raw bytes with ASCII letters folded, the same in every
//     encoding that keeps ASCII as it is: no page needs decoding.
//   - Otherwise a Windows-1252 page is compared in Windows-1252 (a query with a character that
//     page cannot hold is not in it), a UTF-8 page in UTF-8, and a page in any other declared
//     charset after conversion to UTF-8; both sides case-folded.
//
// Pages are folded in chunks, never copied whole. Before that, the longest run of ASCII
// letters of the query, which every match must contain as it is (no character outside ASCII
// folds into it, and every charset but UTF-16 writes ASCII as ASCII), rules out most pages
// without even looking at their encoding. One matcher per thread.

#include <optional>
#include <string>
#include <string_view>

#include "search/FoldedSearcher.h"

namespace ebook {

class QueryMatcher {
 public:
  // `query`: QueryText of what was typed, not empty.
  explicit QueryMatcher(std::string_view query);

  bool Matches(std::string_view page);

 private:
  bool MatchesFolded(std::string_view page, bool utf8);

  bool ascii_;
  FoldedSearcher searcher_;         // the whole query (ASCII), or the ASCII run to rule pages out
  bool havePrefilter_ = false;
  std::string utf8Pattern_;         // the query folded
  std::optional<std::string> windows1252Pattern_;  // the query in Windows-1252, folded
  std::string folded_;              // the chunk being compared
};

}  // namespace ebook
