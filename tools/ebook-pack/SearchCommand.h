#pragma once
// `ebook-pack search BOOK QUERY`: searches all pages of a book file as the viewer's search
// panel does and prints the results.

#include <ostream>
#include <string>

namespace ebook {

// Prints one line per page found, "name<TAB>caption", in result order, then the status line
// ("N Pages found") to `out`. Returns 0 when the search ran to its end. When an entry cannot be
// inflated the search ends there: the pages found before it and the status line are printed,
// the error goes to `err`, and the result is 1. A book that cannot be read gives 1, an empty
// query (nothing to search for) 2, each with a message on `err` and nothing on `out`.
int RunSearchCommand(const std::string& bookPath, const std::string& query, std::ostream& out,
                     std::ostream& err);

}  // namespace ebook
