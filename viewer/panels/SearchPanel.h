#pragma once
// SearchPanel, the window's search panel. The search over all pages (Button1, or Enter in
// Edit1) lists the pages that contain the query, by title and in archive order, in SearchTree;
// a click on a result opens its page and, once it has loaded, has the query highlighted there.
// Button2 (searching the page shown with the find bar) and the close button SpeedButton10 are
// the window's to connect.
//
// The scan runs on a thread of its own (SearchRun), so the window goes on painting and
// answering the reader however large the book is; the hits reach the panel one by one, in
// archive order, through its event queue. While a search runs Button1 is disabled and Enter in
// the query field is ignored, so one search never starts inside another.
//
// The panel knows the window only through its Host: the book, the base address its pages are
// named under, the words the count is shown with, opening a result and highlighting the query.

#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;

namespace ebook {

class BookImage;
class SearchRun;
struct SearchHit;

class SearchPanel : public QWidget {
  Q_OBJECT
 public:
  // What the panel asks of its window.
  struct Host {
    std::function<const BookImage&()> book;  // the book searched
    std::function<QString()> bookBaseUrl;    // the address pages are named under
    std::function<QString()> pagesFoundWords;  // Label3 after a search: "3 Pages found"
    // Navigates to a result's page; the window calls searchResultLoaded as pages load.
    std::function<void(const QString& address)> openResult;
    // Highlights `query` in the page shown, leaving the keyboard where it is.
    std::function<void(const QString& query)> highlight;
  };

  SearchPanel(Host host, QWidget* parent);

  // Controls, named as in the window's layout; created by the constructor, owned by the panel.
  QLabel* SearchLabel = nullptr;
  QToolButton* SpeedButton10 = nullptr;  // close
  QLabel* Label4 = nullptr;
  QPushButton* Button2 = nullptr;  // search the page shown
  QLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* Button1 = nullptr;  // search all pages
  QLabel* Label2 = nullptr;
  QTreeWidget* SearchTree = nullptr;
  QLabel* Label3 = nullptr;  // the status line: "Searching...", "3 Pages found"
  // The archive names of the pages listed in SearchTree: item i is the i-th result's page.
  std::vector<std::string> SearchPageList;

  void Button1Click();
  void Edit1KeyPress(QObject* Sender, char& Key);  // Key 13 (Enter) searches and becomes 0
  void SearchTreeClick();
  // A document has loaded at `URL`: when it is the result being opened, the query is
  // highlighted in it.
  void searchResultLoaded(const QString& URL);

 private:
  void connectControls();
  void searchHitArrived(const SearchHit& hit);
  void searchEnded(const std::optional<std::string>& error);

  Host host_;
  SearchRun* searchRun_ = nullptr;  // the search running, nullptr when none
  std::string searchQuery_;         // the query the result list was found with
  QUrl resultToHighlight_;          // the result being opened, until its page has loaded
};

}  // namespace ebook
