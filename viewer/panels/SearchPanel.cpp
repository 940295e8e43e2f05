// TBB1: the search panel. The search over all pages (Button1, or Enter in Edit1) lists the
// pages that contain the query, by title and in archive order; a click on a result opens its
// page and highlights the query there. The search of the page shown (Button2, Ctrl+F) is the
// find bar over the browser control.
//
// The scan runs on a thread of its own (SearchRun), so the window goes on painting and
// answering the reader however large the book is; the hits reach the window one by one, in
// archive order, through its event queue. While a search runs Button1 is disabled and Enter in
// the query field is ignored, so one search never starts inside another.

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "archive/BookImage.h"
#include "search/PageSearch.h"
#include "search/SearchText.h"
#include "viewer/widgets/AnsiText.h"
#include "viewer/panels/FindBar.h"
#include "viewer/window/MainWindow.h"
#include "viewer/dialogs/ReaderMessages.h"
#include "viewer/browser/WebBrowser.h"

namespace ebook {

// One search over all pages on a worker thread. Hits and the end are delivered on the window's
// thread as queued calls bound to this object, so none arrives once it is gone. Deleting it
// before the end cancels the scan and waits for the thread; the busy cursor the window set for
// the search is then put back here.
class SearchRun : public QObject {
 public:
  using HitHandler = std::function<void(const SearchHit&)>;
  using EndHandler = std::function<void(const std::optional<std::string>& error)>;

  SearchRun(const BookImage& book, std::string query, HitHandler onHit, EndHandler onEnd,
            QObject* parent)
      : QObject(parent), onHit_(std::move(onHit)), onEnd_(std::move(onEnd)) {
    thread_ = std::thread([this, &book, query = std::move(query)] { scan(book, query); });
  }

  ~SearchRun() override {
    cancel_ = true;
    thread_.join();
    if (!ended_) QGuiApplication::restoreOverrideCursor();
  }

 private:
  void scan(const BookImage& book, const std::string& query) {
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

  HitHandler onHit_;
  EndHandler onEnd_;
  std::atomic<bool> cancel_{false};
  bool ended_ = false;
  std::thread thread_;
};

namespace {

// Runs `handler` for the events of the objects it is installed on; true from the handler
// takes the event.
class EventHook : public QObject {
 public:
  using Handler = std::function<bool(QObject* watched, QEvent* event)>;
  EventHook(Handler handler, QObject* parent) : QObject(parent), handler_(std::move(handler)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override { return handler_(watched, event); }

 private:
  Handler handler_;
};

// The character a key press types, as the 8-bit key character of a key-press handler: 13 for
// Enter, 0 for a key that types nothing.
char TypedCharacter(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return '\r';
  if (key.text().size() != 1) return 0;
  return ToAnsi(key.text()).front();
}

}  // namespace

void TBB1::connectSearchPanel() {
  connect(SpeedButton[10], &QToolButton::clicked, this, &TBB1::SpeedButton10Click,
          Qt::UniqueConnection);
  connect(Button1, &QPushButton::clicked, this, &TBB1::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TBB1::Button2Click);
  connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this,
          &TBB1::Button2Click);

  Edit1->installEventFilter(new EventHook(
      [this](QObject* watched, QEvent* event) {
        if (event->type() != QEvent::KeyPress) return false;
        char key = TypedCharacter(*static_cast<QKeyEvent*>(event));
        if (key == 0) return false;
        Edit1KeyPress(watched, key);
        return key == 0;  // the handler has taken the key: the field never sees it
      },
      Edit1));

  // Only a click opens a result; moving the selection with the keyboard shows nothing. The
  // press has selected the node by the time the button is released.
  SearchTree->viewport()->installEventFilter(new EventHook(
      [this](QObject*, QEvent* event) {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
          SearchTreeClick();
        }
        return false;
      },
      SearchTree));
}

void TBB1::SpeedButton6Click() {
  SearchPanel->show();
  TocPanel->hide();
  Splitter1->show();
  Panel2->show();
}

void TBB1::Edit1KeyPress(QObject* Sender, char& Key) {
  (void)Sender;
  if (Key != '\r') return;
  Button1Click();
  Key = 0;
}

void TBB1::Button1Click() {
  if (searchRun_) return;
  std::string query = QueryText(Edit1->text().toStdString());
  if (query.empty()) return;
  SearchPageList = {};
  searchQuery_ = query;
  Button1->setEnabled(false);
  SearchTree->clear();
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  Label3->setText(FromAnsi(kSearchingText));
  searchRun_ = new SearchRun(
      book_, std::move(query), [this](const SearchHit& hit) { searchHitArrived(hit); },
      [this](const std::optional<std::string>& error) { searchEnded(error); }, this);
}

void TBB1::searchHitArrived(const SearchHit& hit) {
  new QTreeWidgetItem(SearchTree, {QString::fromStdString(hit.caption)});
  SearchPageList.push_back(hit.name);
}

void TBB1::searchEnded(const std::optional<std::string>& error) {
  // Also after an error: the pages found before it stay listed and are counted.
  Button1->setEnabled(true);
  QGuiApplication::restoreOverrideCursor();
  Label3->setText(QString::number(SearchTree->topLevelItemCount()) + QLatin1Char(' ') +
                  PagesFoundWords);
  searchRun_->deleteLater();
  searchRun_ = nullptr;
  if (error) ReportError(FromAnsi(*error));
}

void TBB1::SearchTreeClick() {
  const QList<QTreeWidgetItem*> selected = SearchTree->selectedItems();
  if (selected.isEmpty()) return;
  const int position = SearchTree->indexOfTopLevelItem(selected.front());
  if (position < 0 || static_cast<size_t>(position) >= SearchPageList.size()) return;
  const QString address = BookBaseUrl + FromBookText(TrimBlanks(SearchPageList[position]));
  // Once this page has loaded, the query is highlighted in it.
  resultToHighlight_ = AddressToUrl(address).adjusted(QUrl::RemoveFragment);
  connect(WebBrowser1, &WebBrowser::DocumentComplete, this, &TBB1::searchResultLoaded,
          Qt::UniqueConnection);
  WebBrowser1->Navigate(address);
}

void TBB1::searchResultLoaded(const QString& URL) {
  if (resultToHighlight_.isEmpty()) return;
  if (QUrl(URL).adjusted(QUrl::RemoveFragment) != resultToHighlight_) return;
  resultToHighlight_.clear();
  // The keyboard stays where the page load put it (the result list).
  findBar()->open(QString::fromStdString(searchQuery_), false);
}

void TBB1::Button2Click() {
  // With no document loaded there is nothing to search.
  if (!WebBrowser1->Document()) return;
  findBar()->open();
}

FindBar* TBB1::findBar() {
  if (!FindBar1) FindBar1 = new FindBar(WebBrowser1->engineView(), WebBrowser1);
  return FindBar1;
}

}  // namespace ebook
