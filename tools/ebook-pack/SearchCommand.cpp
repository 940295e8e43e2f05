#include "SearchCommand.h"

#include <exception>

#include "archive/BookImage.h"
#include "search/PageSearch.h"
#include "search/SearchText.h"

namespace ebook {

int RunSearchCommand(const std::string& bookPath, const std::string& query, std::ostream& out,
                     std::ostream& err) {
  if (NormalizeQuery(query).empty()) {
    err << "the query is empty: nothing to search for\n";
    return 2;
  }
  BookImage book;
  try {
    book = BookImage::FromFile(bookPath);
  } catch (const std::exception& error) {
    err << error.what() << "\n";
    return 1;
  }
  const SearchOutcome outcome =
      PageSearch().Run(book, query, [&](const SearchHit& hit) {
        out << hit.name << '\t' << hit.caption << '\n';
      });
  out << PagesFoundText(outcome.hits) << '\n';
  out.flush();
  if (outcome.error) {
    err << *outcome.error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace ebook
