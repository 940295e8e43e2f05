#pragma once
// Reads one page for the search: inflates it and looks for the query in it as a plain run of
// bytes, with ASCII letters compared regardless of case. Markup, scripts and comments are
// searched as they are stored; character references are not decoded. One scanner per thread:
// it reuses its buffers from page to page.

#include <string>
#include <string_view>

#include "search/FoldedSearcher.h"
#include "search/PageInflater.h"

namespace ebook {

class PageScanner {
 public:
  // `query` is already normalized (NormalizeQuery) and not empty.
  explicit PageScanner(std::string_view query);

  // Whether the page stored as `stored` (one zlib stream) contains the query; on a hit,
  // `caption` receives the page's title by the caption rule, or `name`. Throws
  // EZDecompressionError when the page cannot be inflated.
  bool Scan(std::string_view stored, std::string_view name, std::string& caption);

 private:
  FoldedSearcher searcher_;
  PageInflater inflater_;
  std::string lowered_;  // the page lower-cased, made only for pages found
};

}  // namespace ebook
