#pragma once
// Reads one page for the search: inflates it and looks for the query in it (QueryMatcher).
// Markup, scripts and comments are searched as they are stored; character references are not
// decoded. One scanner per thread: it reuses its buffers from page to page.

#include <string>
#include <string_view>

#include "search/QueryMatcher.h"
#include "search/PageInflater.h"

namespace ebook {

class PageScanner {
 public:
  // `query`: QueryText of what was typed, not empty.
  explicit PageScanner(std::string_view query);

  // Whether the page stored as `stored` (one zlib stream) contains the query; on a hit,
  // `caption` receives its caption (PageCaption), UTF-8. Throws
  // EZDecompressionError when the page cannot be inflated.
  bool Scan(std::string_view stored, std::string_view name, std::string& caption);

 private:
  QueryMatcher matcher_;
  PageInflater inflater_;
};

}  // namespace ebook
