// Any file as a book searched for a word: the page walk, inflating every page on the workers,
// the folded scan and the page titles. The hits must come back in archive order, each once.
#include <cstdint>
#include <string>

#include "archive/BookImage.h"
#include "search/PageSearch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto book = ebook::BookImage::FromBytes(std::string(reinterpret_cast<const char*>(data), size));
  for (const char* query : {"the", " A "}) {
    const ebook::SearchResult result = ebook::SearchAllPages(book, query);
    for (size_t i = 0; i < result.hits.size(); ++i)
      if (result.hits[i].number != i) __builtin_trap();
  }
  return 0;
}
