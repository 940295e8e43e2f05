#pragma once
// One search over all pages on a worker thread. Hits and the end are delivered on the window's
// thread as queued calls bound to this object, so none arrives once it is gone. Deleting it
// before the end cancels the scan and waits for the thread; the busy cursor the search panel
// set for the search is then put back here.

#include <QObject>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace ebook {

class BookImage;
struct SearchHit;

class SearchRun : public QObject {
 public:
  using HitHandler = std::function<void(const SearchHit&)>;
  using EndHandler = std::function<void(const std::optional<std::string>& error)>;

  // `book` must outlive this object.
  SearchRun(const BookImage& book, std::string query, HitHandler onHit, EndHandler onEnd,
            QObject* parent);
  ~SearchRun() override;

 private:
  void scan(const BookImage& book, const std::string& query);

  HitHandler onHit_;
  EndHandler onEnd_;
  std::atomic<bool> cancel_{false};
  bool ended_ = false;
  std::thread thread_;
};

}  // namespace ebook
