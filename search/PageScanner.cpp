#include "search/PageScanner.h"

#include <cstring>

#include "search/SearchText.h"

namespace ebook {

PageScanner::PageScanner(std::string_view query) : query_(query) {}

bool PageScanner::Scan(std::string_view stored, std::string_view name, std::string& caption) {
  const std::string_view page = inflater_.Inflate(stored);
  if (page.size() < query_.size()) return false;
  if (page.size() > capacity_) {
    capacity_ = page.size() + page.size() / 2;
    lowered_ = std::make_unique<char[]>(capacity_);
  }
  LowerAscii(page.data(), lowered_.get(), page.size());
  const std::string_view lowered(lowered_.get(), page.size());
  if (!memmem(lowered.data(), lowered.size(), query_.data(), query_.size())) return false;
  caption.assign(PageCaption(page, lowered, name));
  return true;
}

}  // namespace ebook
