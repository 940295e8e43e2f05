#include "viewer/panels/SearchPanel.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>
#include <utility>

#include "search/PageSearch.h"
#include "search/SearchText.h"
#include "viewer/browser/WebBrowser.h"
#include "viewer/dialogs/ReaderMessages.h"
#include "viewer/panels/PanelCaption.h"
#include "viewer/panels/SearchRun.h"
#include "viewer/widgets/AnsiText.h"

namespace ebook {
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

SearchPanel::SearchPanel(Host host, QWidget* parent) : QWidget(parent), host_(std::move(host)) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  SearchLabel = BoldLabel(QStringLiteral("Search"), this);
  SpeedButton10 = CloseButton(this);
  column->addLayout(CaptionRow(SearchLabel, SpeedButton10));
  column->addWidget(Bevel(this));
  Label4 = new QLabel(this);
  Button2 = new QPushButton(this);
  column->addWidget(Label4);
  column->addWidget(Button2, 0, Qt::AlignLeft);
  column->addWidget(Bevel(this));
  Label1 = new QLabel(this);
  Edit1 = new QLineEdit(this);
  Button1 = new QPushButton(this);
  Button1->setMinimumWidth(59);
  column->addWidget(Label1);
  column->addWidget(Edit1);
  column->addWidget(Button1, 0, Qt::AlignRight);
  column->addWidget(Bevel(this));
  Label2 = new QLabel(this);
  column->addWidget(Label2);
  // A flat list of results: one row per page found, captions not editable.
  SearchTree = new QTreeWidget(this);
  SearchTree->setHeaderHidden(true);
  SearchTree->setRootIsDecorated(false);
  SearchTree->setIndentation(19);
  SearchTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  SearchTree->setSelectionMode(QAbstractItemView::SingleSelection);
  SearchTree->setSelectionBehavior(QAbstractItemView::SelectRows);
  SearchTree->setAllColumnsShowFocus(true);
  column->addWidget(SearchTree, 1);
  // Panel4: the status line along the bottom edge.
  auto* panel4 = new QWidget(this);
  panel4->setFixedHeight(18);
  auto* status = new QHBoxLayout(panel4);
  status->setContentsMargins(8, 0, 0, 0);
  Label3 = new QLabel(panel4);
  status->addWidget(Label3);
  column->addWidget(panel4);
  setTabOrder(Edit1, Button1);
  setTabOrder(Button1, Button2);
  setTabOrder(Button2, SearchTree);
  connectControls();
  hide();
}

void SearchPanel::connectControls() {
  connect(Button1, &QPushButton::clicked, this, &SearchPanel::Button1Click);

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

void SearchPanel::Edit1KeyPress(QObject* Sender, char& Key) {
  (void)Sender;
  if (Key != '\r') return;
  Button1Click();
  Key = 0;
}

void SearchPanel::Button1Click() {
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
      host_.book(), std::move(query), [this](const SearchHit& hit) { searchHitArrived(hit); },
      [this](const std::optional<std::string>& error) { searchEnded(error); }, this);
}

void SearchPanel::searchHitArrived(const SearchHit& hit) {
  new QTreeWidgetItem(SearchTree, {QString::fromStdString(hit.caption)});
  SearchPageList.push_back(hit.name);
}

void SearchPanel::searchEnded(const std::optional<std::string>& error) {
  // Also after an error: the pages found before it stay listed and are counted.
  Button1->setEnabled(true);
  QGuiApplication::restoreOverrideCursor();
  Label3->setText(QString::number(SearchTree->topLevelItemCount()) + QLatin1Char(' ') +
                  host_.pagesFoundWords());
  searchRun_->deleteLater();
  searchRun_ = nullptr;
  if (error) ReportError(FromAnsi(*error));
}

void SearchPanel::SearchTreeClick() {
  const QList<QTreeWidgetItem*> selected = SearchTree->selectedItems();
  if (selected.isEmpty()) return;
  const int position = SearchTree->indexOfTopLevelItem(selected.front());
  if (position < 0 || static_cast<size_t>(position) >= SearchPageList.size()) return;
  const QString address =
      host_.bookBaseUrl() + FromBookText(TrimBlanks(SearchPageList[position]));
  // Once this page has loaded, the query is highlighted in it.
  resultToHighlight_ = AddressToUrl(address).adjusted(QUrl::RemoveFragment);
  host_.openResult(address);
}

void SearchPanel::searchResultLoaded(const QString& URL) {
  if (resultToHighlight_.isEmpty()) return;
  if (QUrl(URL).adjusted(QUrl::RemoveFragment) != resultToHighlight_) return;
  resultToHighlight_.clear();
  host_.highlight(QString::fromStdString(searchQuery_));
}

}  // namespace ebook
