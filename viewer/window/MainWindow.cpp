#include "viewer/window/MainWindow.h"

#include <algorithm>
#include <climits>

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "archive/BookImage.h"
#include "platform/TerminationSignals.h"
#include "settings/IniText.h"
#include "viewer/dialogs/AboutBox.h"
#include "viewer/widgets/AnsiText.h"
#include "viewer/window/Application.h"
#include "viewer/dialogs/ReaderMessages.h"
#include "viewer/window/StartAddress.h"
#include "viewer/browser/WebBrowser.h"

namespace ebook {

TBB1::TBB1(const BookImage& book, const QString& commandLinePage, QWidget* parent)
    : QWidget(parent), book_(book) {
  setWindowTitle(QStringLiteral("eBook"));
  createControls();
  createShortcuts();
  // As with any event handler, an error leaving creation is reported and the window stays.
  try {
    FormCreate(commandLinePage);
  } catch (...) {
    ReportCurrentException();
  }
  setAccessibleNames();
  restoreReaderPreferences();
}

TBB1::~TBB1() { FormDestroy(); }

void TBB1::FormCreate(const QString& commandLinePage) {
  const OptionString& options = BookSettings.OptionString;
  // 1.
  CanGoBack = CanGoForward = FirstDocumentDone = false;
  // 2. The settings entry; BookSettings holds what lives for the whole run, the rest is
  // applied from `ini` below.
  const IniText ini = LoadSettingsText(book_);
  BookSettings = ReadBookSettings(ini);
  // 3.
  if (options.is(opt::kAutoAdvance, '1')) {
    const qint64 ms = qint64{ini.ReadInteger("cNav", "interval")} * 1000;
    Timer1->setInterval(static_cast<int>(std::clamp<qint64>(ms, 0, INT_MAX)));
  }
  // 4. StartMessage and CloseMessage are in BookSettings.
  // 5.
  applyOuterSize(ini.ReadInteger("cEve", "width"), ini.ReadInteger("cEve", "height"));
  // 6., 7.
  applyBorderStyle();
  // 8.
  const int buttonHeight = ini.ReadInteger("cTool", "buttonheight");
  const int buttonWidth = ini.ReadInteger("cTool", "buttonwidth");
  // 9. SpeedButton1 ... SpeedButton9 from BL1 ... BL9, SpeedButton12 from BL10.
  for (int i = 1; i <= 10; ++i) {
    const std::string key = "BL" + std::to_string(i);
    SpeedButton[i <= 9 ? i : 12]->setText(FromBookText(ini.ReadString("cTool", key)));
  }
  // 10.
  Label4->setText(FromBookText(ini.ReadString("search", "1")));
  Button2->setText(FromBookText(ini.ReadString("search", "2")));
  Label1->setText(FromBookText(ini.ReadString("search", "3")));
  Button1->setText(SpeedButton[6]->text());
  Label2->setText(FromBookText(ini.ReadString("search", "4")));
  SpeedButton[10]->setToolTip(FromBookText(ini.ReadString("search", "5")));
  // The panels' titles and the words after the number of pages found, in the book's language.
  SearchLabel->setText(FromBookText(ini.ReadString("search", "title")));
  PagesFoundWords = FromBookText(ini.ReadString("search", "found"));
  TocLabel->setText(FromBookText(ini.ReadString("PFiles", "TOCtitle")));
  // 11.
  UseTOCauto = ini.ReadBool("PFiles", "UseTOCauto");
  UseTOC = ini.ReadBool("PFiles", "UseTOC");
  // 12. BookTitle was trimmed when it was read.
  // 13.
  doregistry();
  // 14.
  if (!BookSettings.BookTitle.empty()) {
    setWindowTitle(FromBookText(BookSettings.BookTitle));
    Application::setTitle(FromBookText(BookSettings.BookTitle));
  }
  // 15.
  if (options.is(opt::kToolbarAtBottom, '1')) putToolbarAtBottom();
  // 16.
  set_toolbar(buttonWidth, buttonHeight);
  // 17. The window is not visible yet; the reader closes the message first.
  if (!BookSettings.StartMessage.empty()) ShowMessage(FromBookText(BookSettings.StartMessage));
  // 18.
  if (UseTOC) extract_olista();
  // 19.
  if (UseTOCauto) openContentsPanel();
  // 20.
  set_offline(false);
  // 21. Temp-folder mode when the book asks for it; otherwise the book is served from memory.
  const bool tempFolder = options.is(opt::kTempFolder, '1');
  if (tempFolder) {
    extractBookToTemp();
  } else {
    registerNamespace();
  }
  const StartAddressInputs start{BookBaseUrl, FromBookText(BookSettings.StartPage),
                                 BookSettings.BookmarkEnabled, SavedBookmark, commandLinePage};
  showFirstPage(ChooseStartAddress(start));
  if (tempFolder) waitForFirstPage();
  // 22.
  if (options.is(opt::kAutoAdvance, '1')) setTimer1Enabled(true);
}

void TBB1::waitForFirstPage() {
  // The first page has loaded before creation goes on, but a page that never finishes (an
  // endless script) holds up the window no longer than this, and a request to end stops it.
  constexpr int kFirstPageWaitMs = 10000;
  QElapsedTimer waited;
  waited.start();
  QTimer wake;  // so that the wait below looks at the clock even when nothing happens
  wake.start(100);
  QCoreApplication::processEvents();
  while (WebBrowser1->Busy() && !TerminationRequested() && waited.elapsed() < kFirstPageWaitMs)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TBB1::showFirstPage(const QString& address) {
  if (BookSettings.OptionString.is(opt::kContentsNavigation, '1')) {
    selectFirstTocNode();
    return;
  }
  StartAddress = address;
  WebBrowser1->Navigate(address);
}

void TBB1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shownOnce_) {
    shownOnce_ = true;
    matchOuterSize();
    // The logo's pixmap follows the pixel ratio of the screen the window is on.
    if (QWindow* window = windowHandle()) {
      showLogo();
      connect(window, &QWindow::screenChanged, this, &TBB1::showLogo);
    }
  }
  FormShow();
}

void TBB1::FormShow() { focus_browser(); }

void TBB1::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
  emit closed();
}

void TBB1::FormClose() {
  if (BookSettings.OptionString.is(opt::kAutoAdvance, '1')) setTimer1Enabled(false);
  if (BookSettings.BookmarkEnabled) bookmarkLAST();
  saveReaderPreferences();
  if (!BookSettings.CloseMessage.empty() && !closingOnRequest_)
    ShowMessage(FromBookText(BookSettings.CloseMessage));
}

void TBB1::closeOnRequest() {
  closingOnRequest_ = true;
  close();
}

void TBB1::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  // The browser control goes first, so that it holds no page and no file any more.
  if (WebBrowser1) {
    WebBrowser1->Stop();
    delete WebBrowser1;
    WebBrowser1 = nullptr;
  }
  if (ProtocolMode) unregisterNamespace();
  deleteTempBook();
}

void TBB1::SpeedButton8Click() {
  if (!BB2) return;
  BB2->Fill(SpeedButton[10]->toolTip(), SpeedButton[8]->text(), BookSettings);
  BB2->exec();
}

void TBB1::SpeedButton9Click() { close(); }

void TBB1::setTimer1Enabled(bool on) {
  Timer1Enabled = on;
  // A timer of 0 ms would fire continuously; the book's "0 seconds" means never.
  if (on && Timer1->interval() > 0) {
    Timer1->start();
  } else {
    Timer1->stop();
  }
}

}  // namespace ebook
