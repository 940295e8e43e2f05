#include "search/PageSearch.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "search/PageScanner.h"
#include "search/SearchText.h"

namespace ebook {
namespace {

struct Page {
  std::string_view name;    // as EnumerateEntries lists it
  std::string_view stored;  // the zlib stream ReadEntry inflates for that name
};

// The pages to look through, in archive order.
std::vector<Page> ListPages(const BookImage& book) {
  const std::string_view image = book.bytes();
  std::vector<Page> pages;
  for (const IndexedEntry& entry : book.index().entries()) {
    if (image.size() - entry.start < 11) continue;  // never listed by EnumerateEntries
    const std::string_view name = TrimBlanks(entry.name);
    if (!IsSearchablePage(name)) continue;
    // ReadEntry reads the first entry stored under the name; when there is none (a stored name
    // with a lower-case letter or blanks around it) the content is empty and cannot match.
    const IndexedEntry* read = book.FindEntry(name);
    if (!read) continue;
    pages.push_back({name, image.substr(read->dataBegin, read->dataEnd - read->dataBegin)});
  }
  return pages;
}

enum class PageState { kPending, kMiss, kHit, kFailed };

struct PageResult {
  PageState state = PageState::kPending;
  std::string text;  // the caption of a hit, the error of a failure
};

// The state one search shares between its workers and the thread that delivers the results.
// Workers claim pages in archive order; a failed page stops the claiming of pages after it.
class SearchRun {
 public:
  SearchRun(const std::vector<Page>& pages, std::string_view query)
      : pages_(pages), query_(query), results_(pages.size()), end_(pages.size()) {}

  void Work() {
    PageScanner scanner(query_);
    std::string caption;
    for (;;) {
      const size_t i = next_.fetch_add(1, std::memory_order_relaxed);
      if (i >= end_.load(std::memory_order_acquire)) return;
      PageResult result;
      try {
        if (scanner.Scan(pages_[i].stored, pages_[i].name, caption)) {
          result.state = PageState::kHit;
          result.text = caption;
        } else {
          result.state = PageState::kMiss;
        }
      } catch (const std::exception& error) {
        result.state = PageState::kFailed;
        result.text = error.what();
        StopAfter(i + 1);
      }
      Publish(i, std::move(result));
    }
  }

  // Waits until page i is done. Every page below the claiming limit is finished by the worker
  // that claimed it, so the wait always ends.
  PageResult Take(size_t i) {
    std::unique_lock lock(mutex_);
    awaited_ = i;
    done_.wait(lock, [&] { return results_[i].state != PageState::kPending; });
    awaited_ = kNone;
    return std::move(results_[i]);
  }

  // No page at or after `limit` is started any more.
  void StopAfter(size_t limit) {
    size_t end = end_.load(std::memory_order_relaxed);
    while (limit < end && !end_.compare_exchange_weak(end, limit, std::memory_order_release)) {
    }
  }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  void Publish(size_t i, PageResult result) {
    bool wake = false;
    {
      std::lock_guard lock(mutex_);
      results_[i] = std::move(result);
      wake = i == awaited_;
    }
    if (wake) done_.notify_one();
  }

  const std::vector<Page>& pages_;
  std::string_view query_;
  std::vector<PageResult> results_;
  std::atomic<size_t> next_{0};
  std::atomic<size_t> end_;
  std::mutex mutex_;
  std::condition_variable done_;
  size_t awaited_ = kNone;
};

}  // namespace

PageSearch::PageSearch(unsigned workers) : workers_(std::max(1u, workers)) {}

void PageSearch::SetProgressHandler(ProgressHandler handler, size_t everyPages) {
  onProgress_ = std::move(handler);
  progressEvery_ = std::max<size_t>(1, everyPages);
}

SearchOutcome PageSearch::Run(const BookImage& book, std::string_view typed,
                              const HitHandler& onHit, const std::atomic<bool>* cancel) const {
  SearchOutcome outcome;
  const std::string query = QueryText(typed);
  if (query.empty()) return outcome;
  outcome.searched = true;

  const std::vector<Page> pages = ListPages(book);
  SearchRun run(pages, query);
  std::vector<std::jthread> threads;
  // Declared after the threads, so destroyed first: however Run ends, even by an exception
  // from a handler, the workers stop claiming pages before they are joined.
  struct StopWorkers {
    SearchRun& run;
    ~StopWorkers() { run.StopAfter(0); }
  } stopWorkers{run};
  const size_t workers = std::min<size_t>(workers_, pages.size());
  for (size_t i = 0; i < workers; ++i) threads.emplace_back([&run] { run.Work(); });

  for (size_t i = 0; i < pages.size(); ++i) {
    if (cancel && cancel->load(std::memory_order_relaxed)) {
      outcome.cancelled = true;
      break;
    }
    PageResult result = run.Take(i);
    if (result.state == PageState::kFailed) {
      outcome.error = std::move(result.text);
      break;
    }
    if (result.state == PageState::kHit) {
      const SearchHit hit{outcome.hits, std::string(pages[i].name), std::move(result.text)};
      ++outcome.hits;
      if (onHit) onHit(hit);
    }
    if (onProgress_ && ((i + 1) % progressEvery_ == 0 || i + 1 == pages.size()))
      onProgress_(i + 1, pages.size());
  }
  return outcome;
}

SearchResult SearchAllPages(const BookImage& book, std::string_view typed) {
  SearchResult result;
  const SearchOutcome outcome = PageSearch().Run(
      book, typed, [&](const SearchHit& hit) { result.hits.push_back(hit); });
  result.error = outcome.error;
  return result;
}

}  // namespace ebook
