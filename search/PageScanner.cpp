#include "search/PageScanner.h"

#include "search/SearchText.h"

namespace ebook {

PageScanner::PageScanner(std::string_view query) : searcher_(query) {}

bool PageScanner::Scan(std::string_view stored, std::string_view name, std::string& caption) {
  const std::string_view page = inflater_.Inflate(stored);
  if (!searcher_.Contains(page)) return false;
  lowered_.resize(page.size());
  LowerAscii(page.data(), lowered_.data(), page.size());
  caption.assign(PageCaption(page, lowered_, name));
  return true;
}

}  // namespace ebook
