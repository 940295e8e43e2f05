// TBB1: the controls and their layout. Sizes are the window's design values at 96 dpi.

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWebEngineProfile>

#include "archive/BookImage.h"
#include "protocol/BookNamespace.h"
#include "viewer/window/MainWindow.h"
#include "viewer/browser/WebBrowser.h"

namespace ebook {

namespace {

QLabel* BoldLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

QToolButton* CloseButton(QWidget* parent) {
  auto* button = new QToolButton(parent);
  QFont font = button->font();
  font.setBold(true);
  button->setFont(font);
  button->setText(QStringLiteral("X"));
  button->setAutoRaise(true);
  button->setFixedSize(20, 17);
  return button;
}

// A caption row of a side panel: bold title left, close button right.
QHBoxLayout* CaptionRow(QLabel* title, QToolButton* close) {
  auto* row = new QHBoxLayout;
  row->addWidget(title);
  row->addStretch();
  row->addWidget(close);
  return row;
}

}  // namespace

void TBB1::createControls() {
  resize(717, 468);
  layout_ = new QVBoxLayout(this);
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);

  createToolbarPanel();

  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setHandleWidth(5);
  Splitter1->setChildrenCollapsible(false);
  Panel2 = new QWidget(Splitter1);
  Panel2->setMinimumWidth(163);
  auto* sideLayout = new QVBoxLayout(Panel2);
  sideLayout->setContentsMargins(2, 2, 2, 2);
  createTocPanel();
  createSearchPanel();
  sideLayout->addWidget(TocPanel);
  sideLayout->addWidget(SearchPanel);
  Panel2->hide();

  // Off the record: a book leaves no cache or cookies on disk.
  profile_ = new QWebEngineProfile(this);
  namespace_ = new BookNamespace(book_, this);
  WebBrowser1 = new WebBrowser(profile_, Splitter1);
  Splitter1->addWidget(Panel2);
  Splitter1->addWidget(WebBrowser1);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({240, 477});
  layout_->addWidget(Splitter1, 1);

  connect(WebBrowser1, &WebBrowser::BeforeNavigate2, this, &TBB1::webbrowser1BeforeNavigate2);
  connect(WebBrowser1, &WebBrowser::CommandStateChange, this,
          &TBB1::webbrowser1CommandStateChange);
  connect(WebBrowser1, &WebBrowser::DocumentComplete, this, &TBB1::webbrowser1DocumentComplete);
  connect(WebBrowser1, &WebBrowser::LocationChanged, this, &TBB1::followShownPage);
  connect(WebBrowser1, &WebBrowser::PrintRequested, this, &TBB1::webbrowser1PrintRequested);
  // The bookmark's page: each page of the book that loaded, and each move within a page (a
  // fragment link loads nothing).
  connect(WebBrowser1, &WebBrowser::DocumentComplete, this, [this](const QString& URL) {
    noteShownPage(URL, WebBrowser1->LastLoadSucceeded());
  });
  connect(WebBrowser1, &WebBrowser::LocationChanged, this, [this] {
    if (!WebBrowser1->Busy()) noteShownPage(WebBrowser1->LocationURL(), true);
  });

  Timer1 = new QTimer(this);
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &TBB1::Timer1Timer);
}

void TBB1::createTocPanel() {
  TocPanel = new QWidget(Panel2);
  auto* column = new QVBoxLayout(TocPanel);
  column->setContentsMargins(0, 0, 0, 0);
  TocLabel = BoldLabel(QStringLiteral("Table of Contents"), TocPanel);
  SpeedButton[11] = CloseButton(TocPanel);
  SpeedButton[11]->setToolTip(QStringLiteral("Close"));
  column->addLayout(CaptionRow(TocLabel, SpeedButton[11]));
  auto* line = new QFrame(TocPanel);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  column->addWidget(line);
  // The pictures come from ImagesVST2; the handlers override the indexes the stream stores.
  createContentsPictures();
  TOCtree = new TTreeViewEx(TocPanel);
  TOCtree->setIndentation(19);
  TOCtree->SetImages(ImagesVST2);
  connect(TOCtree, &TTreeViewEx::OnChange, this, &TBB1::TOCtreeChange);
  connect(TOCtree, &TTreeViewEx::OnGetImageIndex, this, &TBB1::TOCtreeGetImageIndex);
  connect(TOCtree, &TTreeViewEx::OnGetSelectedIndex, this, &TBB1::TOCtreeGetSelectedIndex);
  connect(TOCtree, &TTreeViewEx::OnRequestDataSize, this, &TBB1::TOCtreeRequestDataSize);
  column->addWidget(TOCtree, 1);
  connect(SpeedButton[11], &QToolButton::clicked, this, &TBB1::SpeedButton10Click);
  connect(SpeedButton[12], &QToolButton::clicked, this, &TBB1::SpeedButton12Click,
          Qt::UniqueConnection);
  TocPanel->hide();
}

void TBB1::createSearchPanel() {
  SearchPanel = new QWidget(Panel2);
  auto* column = new QVBoxLayout(SearchPanel);
  column->setContentsMargins(0, 0, 0, 0);
  const auto bevel = [this] {
    auto* line = new QFrame(SearchPanel);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
  };
  SearchLabel = BoldLabel(QStringLiteral("Search"), SearchPanel);
  SpeedButton[10] = CloseButton(SearchPanel);
  column->addLayout(CaptionRow(SearchLabel, SpeedButton[10]));
  column->addWidget(bevel());
  Label4 = new QLabel(SearchPanel);
  Button2 = new QPushButton(SearchPanel);
  column->addWidget(Label4);
  column->addWidget(Button2, 0, Qt::AlignLeft);
  column->addWidget(bevel());
  Label1 = new QLabel(SearchPanel);
  Edit1 = new QLineEdit(SearchPanel);
  Button1 = new QPushButton(SearchPanel);
  Button1->setMinimumWidth(59);
  column->addWidget(Label1);
  column->addWidget(Edit1);
  column->addWidget(Button1, 0, Qt::AlignRight);
  column->addWidget(bevel());
  Label2 = new QLabel(SearchPanel);
  column->addWidget(Label2);
  // A flat list of results: one row per page found, captions not editable.
  SearchTree = new QTreeWidget(SearchPanel);
  SearchTree->setHeaderHidden(true);
  SearchTree->setRootIsDecorated(false);
  SearchTree->setIndentation(19);
  SearchTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  SearchTree->setSelectionMode(QAbstractItemView::SingleSelection);
  SearchTree->setSelectionBehavior(QAbstractItemView::SelectRows);
  SearchTree->setAllColumnsShowFocus(true);
  column->addWidget(SearchTree, 1);
  // Panel4: the status line along the bottom edge.
  auto* panel4 = new QWidget(SearchPanel);
  panel4->setFixedHeight(18);
  auto* status = new QHBoxLayout(panel4);
  status->setContentsMargins(8, 0, 0, 0);
  Label3 = new QLabel(panel4);
  status->addWidget(Label3);
  column->addWidget(panel4);
  setTabOrder(Edit1, Button1);
  setTabOrder(Button1, Button2);
  setTabOrder(Button2, SearchTree);
  connectSearchPanel();
  SearchPanel->hide();
}

void TBB1::openContentsPanel() {
  TocPanel->show();
  SearchPanel->hide();
  Panel2->show();
}

}  // namespace ebook
