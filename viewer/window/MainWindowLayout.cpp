// TBB1: the controls and their layout. Sizes are the window's design values at 96 dpi.

#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineProfile>

#include "archive/BookImage.h"
#include "protocol/BookNamespace.h"
#include "viewer/window/MainWindow.h"
#include "viewer/browser/WebBrowser.h"

namespace ebook {

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
  connect(WebBrowser1, &WebBrowser::LocationChanged, TocPanel, &ContentsPanel::followShownPage);
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

}  // namespace ebook
