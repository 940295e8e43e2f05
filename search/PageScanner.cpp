#include "search/PageScanner.h"

#include "search/SearchText.h"

namespace ebook {

PageScanner::PageScanner(std::string_view query) : matcher_(query) {}

bool PageScanner::Scan(std::string_view stored, std::string_view name, std::string& caption) {
  const std::string_view page = inflater_.Inflate(stored);
  if (!matcher_.Matches(page)) return false;
  caption = PageCaption(page, name);
  return true;
}

}  // namespace ebook
