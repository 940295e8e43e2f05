#pragma once
// Reads one page for the search: inflates it, lower-cases a copy (ASCII letters only) and looks
// for the query in the copy as a plain run of bytes. Markup, scripts and comments are searched
// as they are stored; character references are not decoded. One scanner per thread: it reuses
// its buffers from page to page.

#include <memory>
#include <string>
#include <string_view>

#include "search/PageInflater.h"

namespace ebook {

class PageScanner {
 public:
  // `query` is already normalized (NormalizeQuery) and not empty; it must outlive the scanner.
  explicit PageScanner(std::string_view query);

  // Whether the page stored as `stored` (one zlib stream) contains the query; on a hit,
  // `caption` receives the page's title by the caption rule, or `name`. Throws
  // EZDecompressionError when the page cannot be inflated.
  bool Scan(std::string_view stored, std::string_view name, std::string& caption);

 private:
  std::string_view query_;
  PageInflater inflater_;
  std::unique_ptr<char[]> lowered_;
  size_t capacity_ = 0;
};

}  // namespace ebook
