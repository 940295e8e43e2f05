#pragma once
// Which entry a requested page name stands for. Books made from real documentation link their
// pages the way web sites do: "page.html#section", "theme.css?v=2022.1", "images//logo.png",
// "./a.html", "sub/../b.html", "caf%C3%A9.html", "folder/". A web server would answer all of
// them; an exact name lookup finds none.
//
// The name is looked up exactly first, so every name a book stores is found as it always was.
// Only when no entry has that name are these tried, in this order, each on the result of the
// one before:
//   1. without the "#fragment";
//   2. without the "?query";
//   3. with empty path segments, "." segments and "x/.." pairs taken out (a ".." that would
//      climb above the book's top folder ends the search: the name is not in the book);
//   4. with every "%XX" escape decoded;
//   5. a name that now names a folder ("" or ending in "/") with "index.html", then
//      "index.htm" after it.
// The first candidate the book stores wins. Letter case is compared as the archive compares it
// (ASCII letters only).

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ebook {

class BookContent;

// The names to try for `requested`, most exact first, without repeats.
std::vector<std::string> EntryNameCandidates(std::string_view requested);

// The name without fragment and query and with its path collapsed (steps 1 to 3): two names
// that reduce alike name the same entry whatever part of it they point at. A name that climbs
// above the top is only cut.
std::string ReducedEntryName(std::string_view requested);

// The first candidate for which `stored` is true, or nullopt.
std::optional<std::string> ResolveEntryName(std::string_view requested,
                                            const std::function<bool(std::string_view)>& stored);

// The same over a book's entries.
std::optional<std::string> ResolveEntryName(const BookContent& book, std::string_view requested);

}  // namespace ebook
