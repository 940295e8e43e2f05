#include "viewer/panels/SearchRun.h"

#include <QGuiApplication>
#include <exception>
#include <utility>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "search/PageSearch.h"

namespace ebook {

SearchRun::SearchRun(const BookImage& book, std::string query, HitHandler onHit,
                     EndHandler onEnd, QObject* parent)
    : QObject(parent), onHit_(std::move(onHit)), onEnd_(std::move(onEnd)) {
  thread_ = std::thread([this, &book, query = std::move(query)] { scan(book, query); });
}

SearchRun::~SearchRun() {
  cancel_ = true;
  thread_.join();
  if (!ended_) QGuiApplication::restoreOverrideCursor();
}

void SearchRun::scan(const BookImage& book, const std::string& query) {
#ifdef __linux__
  // The scan yields the processor to the window: its page threads inherit this nice value.
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 5);
#endif
  std::optional<std::string> error;
  try {
    const auto deliver = [this](const SearchHit& hit) {
      QMetaObject::invokeMethod(
          this, [this, hit] { onHit_(hit); }, Qt::QueuedConnection);
    };
    error = PageSearch().Run(book, query, deliver, &cancel_).error;
  } catch (const std::exception& failure) {
    error = failure.what();
  } catch (...) {
    error = "Unknown error.";
  }
  QMetaObject::invokeMethod(
      this,
      [this, error] {
        ended_ = true;
        onEnd_(error);
      },
      Qt::QueuedConnection);
}

}  // namespace ebook
