// TBB1: the side panel Panel2 and the two panels it holds, the table of contents (TocPanel) and
// the search (SearchPanel). The window creates them, hands each what it needs of the window,
// switches between them and opens the find bar over the page shown; the handlers' names the
// window keeps forward to the panels. The auto-advance timer walks the contents (Timer1Timer).

#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QToolButton>
#include <utility>

#include "archive/BookImage.h"
#include "archive/InternalEntries.h"
#include "contents/TocPage.h"
#include "contents/TocStream.h"
#include "viewer/browser/WebBrowser.h"
#include "viewer/panels/FindBar.h"
#include "viewer/widgets/AnsiText.h"
#include "text/Ascii.h"
#include "viewer/window/MainWindow.h"

namespace ebook {

using Node = TTreeViewEx::Node;

void TBB1::createTocPanel() {
  ContentsPanel::Host host;
  host.bookBaseUrl = [this] { return BookBaseUrl; };
  host.protocolMode = [this] { return ProtocolMode; };
  host.shownTarget = [this] { return TocTarget; };
  host.openPage = [this](const std::string& page) {
    if (!WebBrowser1) return;
    TocTarget = page;
    WebBrowser1->Navigate(BookBaseUrl + FromBookText(TrimControl(page)));
  };
  host.firstDocumentDone = [this] { return FirstDocumentDone; };
  TocPanel = new ContentsPanel(std::move(host), Panel2);
  TocLabel = TocPanel->TocLabel;
  SpeedButton[11] = TocPanel->SpeedButton11;
  TOCtree = TocPanel->TOCtree;
  ImagesVST2 = TocPanel->ImagesVST2;
  connect(SpeedButton[11], &QToolButton::clicked, this, &TBB1::SpeedButton10Click);
  connect(SpeedButton[12], &QToolButton::clicked, this, &TBB1::SpeedButton12Click,
          Qt::UniqueConnection);
}

void TBB1::createSearchPanel() {
  ebook::SearchPanel::Host host;
  host.book = [this]() -> const BookImage& { return book_; };
  host.bookBaseUrl = [this] { return BookBaseUrl; };
  host.pagesFoundWords = [this] { return PagesFoundWords; };
  host.openResult = [this](const QString& address) {
    connect(WebBrowser1, &WebBrowser::DocumentComplete, SearchPanel,
            &ebook::SearchPanel::searchResultLoaded, Qt::UniqueConnection);
    WebBrowser1->Navigate(address);
  };
  // The keyboard stays where the page load put it (the result list).
  host.highlight = [this](const QString& query) { findBar()->open(query, false); };
  SearchPanel = new ebook::SearchPanel(std::move(host), Panel2);
  SearchLabel = SearchPanel->SearchLabel;
  SpeedButton[10] = SearchPanel->SpeedButton10;
  Label4 = SearchPanel->Label4;
  Button2 = SearchPanel->Button2;
  Label1 = SearchPanel->Label1;
  Edit1 = SearchPanel->Edit1;
  Button1 = SearchPanel->Button1;
  Label2 = SearchPanel->Label2;
  SearchTree = SearchPanel->SearchTree;
  Label3 = SearchPanel->Label3;
  connect(SpeedButton[10], &QToolButton::clicked, this, &TBB1::SpeedButton10Click,
          Qt::UniqueConnection);
  connect(Button2, &QPushButton::clicked, this, &TBB1::Button2Click);
  connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this,
          &TBB1::Button2Click);
}

// The side panel opens with the contents. Splitter1 holds the browser as well and is always
// shown; its handle comes and goes with Panel2.
void TBB1::SpeedButton12Click() {
  TocPanel->show();
  SearchPanel->hide();
  Splitter1->show();
  Panel2->show();
}

void TBB1::SpeedButton6Click() {
  SearchPanel->show();
  TocPanel->hide();
  Splitter1->show();
  Panel2->show();
}

void TBB1::SpeedButton10Click() {
  Panel2->hide();
  TocPanel->hide();
  SearchPanel->hide();
}

void TBB1::openContentsPanel() {
  TocPanel->show();
  SearchPanel->hide();
  Panel2->show();
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

// The contents.
void TBB1::extract_olista() { TOCtree->LoadNodesFromStream(book_.ReadEntry(kTocEntry)); }
void TBB1::selectFirstTocNode() { TocPanel->selectFirstNode(); }
void TBB1::listaSync() { TocPanel->listaSync(); }
void TBB1::listaNext() { TocPanel->listaNext(); }
void TBB1::listaBack() { TocPanel->listaBack(); }
void TBB1::Timer1Timer() { listaNext(); }
void TBB1::TOCtreeChange(Node* node) { TocPanel->TOCtreeChange(node); }
void TBB1::TOCtreeGetImageIndex(Node* node) { TocPanel->TOCtreeGetImageIndex(node); }
void TBB1::TOCtreeGetSelectedIndex(Node* node) { TocPanel->TOCtreeGetSelectedIndex(node); }
void TBB1::TOCtreeRequestDataSize(Node* node, int32_t* size) {
  TocPanel->TOCtreeRequestDataSize(node, size);
}

// The search over all pages.
void TBB1::Button1Click() { SearchPanel->Button1Click(); }
void TBB1::Edit1KeyPress(QObject* Sender, char& Key) { SearchPanel->Edit1KeyPress(Sender, Key); }
void TBB1::SearchTreeClick() { SearchPanel->SearchTreeClick(); }

}  // namespace ebook
