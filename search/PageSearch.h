#pragma once
// The search over all pages of a book: every entry whose name ends in ".HTM", ".HTML" or ".TXT"
// is inflated and looked through for the query; the pages that contain it are reported in
// archive order, each once, with its title as caption.
//
// Worker threads inflate and scan pages in parallel; the thread that calls Run receives every
// hit in archive order, through its callbacks, as soon as all pages before it are done. Run
// blocks its caller, so a window runs it on a thread of its own and forwards the hits.
// Entries are taken from the book's index in the order the archive stores them, under the same
// names EnumerateEntries lists, and read as ReadEntry reads them.

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/BookImage.h"

namespace ebook {

struct SearchHit {
  size_t number = 0;    // position in the result list, from 0
  std::string name;     // the entry name, as EnumerateEntries lists it
  std::string caption;  // the page's title, or the entry name when it has none
};

struct SearchOutcome {
  bool searched = false;             // false: the query was empty and nothing happened
  size_t hits = 0;                   // hits delivered, also when the search ended early
  bool cancelled = false;            // ended by the cancel flag
  std::optional<std::string> error;  // the message of the entry that could not be inflated
};

class PageSearch {
 public:
  using HitHandler = std::function<void(const SearchHit&)>;
  // Pages looked through so far (in archive order) and the number of pages to look through.
  using ProgressHandler = std::function<void(size_t pagesDone, size_t pagesTotal)>;

  static constexpr unsigned kDefaultWorkers = 2;

  explicit PageSearch(unsigned workers = kDefaultWorkers);

  // Called on Run's thread after every `everyPages` pages and after the last one.
  void SetProgressHandler(ProgressHandler handler, size_t everyPages = 32);

  // Searches all pages of `book` for `typed` (normalized here: lower-cased, then trimmed).
  // `onHit` runs on the calling thread, in archive order. An entry that cannot be inflated
  // ends the search there: the hits before it have been delivered and the outcome carries the
  // error. Setting `*cancel` ends the search soon after, without further hits.
  SearchOutcome Run(const BookImage& book, std::string_view typed, const HitHandler& onHit,
                    const std::atomic<bool>* cancel = nullptr) const;

 private:
  unsigned workers_;
  ProgressHandler onProgress_;
  size_t progressEvery_ = 32;
};

// The same search done to the end and collected, for tools and tests.
struct SearchResult {
  std::vector<SearchHit> hits;
  std::optional<std::string> error;
};
SearchResult SearchAllPages(const BookImage& book, std::string_view typed);

}  // namespace ebook
