#include "search/PageScanner.h"

#include <new>

#include "archive/ZLib.h"
#include "search/SearchText.h"

namespace ebook {

PageScanner::PageScanner(std::string_view query) : matcher_(query) {}

bool PageScanner::Scan(std::string_view stored, std::string_view name, std::string& caption) {
  const std::string_view page = inflater_.Inflate(stored);
  try {
    if (!matcher_.Matches(page)) return false;
  } catch (const std::bad_alloc&) {
    // A page in another charset is converted whole; one too big for the memory left fails as
    // reading it would.
    throw EZDecompressionError("insufficient memory");
  }
  caption = PageCaption(page, name);
  return true;
}

}  // namespace ebook
