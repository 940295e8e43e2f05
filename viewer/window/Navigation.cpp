// TBB1: the navigation buttons, the browser control's events and the keyboard focus.
//
// Back and Next mean one of three things, decided by the option string: resume the
// auto-advance timer (offset 26), step through the contents in tree order (offset 19 "1"), or
// walk the browser's own history (offset 19 "0", and only as far as the browser has said it
// can go).

#include <QTimer>
#include <QTreeWidget>

#include "navigation/LinkCommand.h"
#include "protocol/BookScheme.h"
#include "viewer/widgets/AnsiText.h"
#include "viewer/browser/BookAddress.h"
#include "viewer/window/MainWindow.h"
#include "viewer/browser/WebBrowser.h"

namespace ebook {

void TBB1::SpeedButton1Click() {
  const OptionString& options = BookSettings.OptionString;
  if (options.is(opt::kAutoAdvance, '1')) {
    resumeAutoAdvance();
  } else if (options.is(opt::kContentsNavigation, '1')) {
    listaBack();
  } else if (CanGoBack) {
    WebBrowser1->GoBack();
  }
}

void TBB1::SpeedButton2Click() {
  const OptionString& options = BookSettings.OptionString;
  if (options.is(opt::kAutoAdvance, '1')) {
    resumeAutoAdvance();
  } else if (options.is(opt::kContentsNavigation, '1')) {
    listaNext();
  } else if (CanGoForward) {
    WebBrowser1->GoForward();
  }
}

void TBB1::resumeAutoAdvance() {
  // A running timer keeps its countdown; a paused one starts a full interval from now.
  if (!Timer1Enabled) setTimer1Enabled(true);
}

void TBB1::SpeedButton3Click() { WebBrowser1->Refresh(); }

void TBB1::SpeedButton4Click() {
  const QString startAddress = BookBaseUrl + FromBookText(BookSettings.StartPage);
  if (BookSettings.OptionString.is(opt::kContentsNavigation, '1')) {
    // The first contents node's selection navigates; the start page is not used.
    listaSync();
    selectFirstTocNode();
    return;
  }
  WebBrowser1->Navigate(startAddress);
}

void TBB1::SpeedButton5Click() {
  WebBrowser1->Stop();
  if (BookSettings.OptionString.is(opt::kAutoAdvance, '1')) setTimer1Enabled(false);
}

void TBB1::webbrowser1BeforeNavigate2(const QString& URL, bool isMainFrame, bool* Cancel) {
  (void)isMainFrame;  // frames navigate and carry commands exactly like the page
  const std::string address = ToAnsi(URL);
  std::optional<LinkCommand> command = ParseLinkCommand(address);
  if (!command) {
    // The page name counts from the end of the protocol-mode base address, in either mode.
    TocTarget = PageTargetOf(address, ToAnsi(ProtocolBaseUrl()).size());
    return;
  }
  // A command address is never followed, whether it runs or not. Only the book's own pages
  // may run commands: a page from elsewhere cannot open programs or close the viewer.
  *Cancel = true;
  if (!IsBookAddress(URL, BookBaseUrl)) return;
  // The engine is waiting for this handler: the command (a message box, a print preview,
  // closing the window) runs once control is back in the event loop.
  QTimer::singleShot(0, this, [this, command = std::move(*command)] { runLinkCommand(command); });
}

void TBB1::webbrowser1CommandStateChange(int command, bool enable) {
  if (!BookSettings.OptionString.is(opt::kContentsNavigation, '0')) return;
  if (command == WebBrowser::CSC_NAVIGATEFORWARD) CanGoForward = enable;
  if (command == WebBrowser::CSC_NAVIGATEBACK) CanGoBack = enable;
}

void TBB1::webbrowser1DocumentComplete(const QString& URL) {
  (void)URL;
  focus_browser();
  // An open side panel's tree holds the keyboard; the contents tree only from the second
  // document on, so that the first page keeps it at start-up.
  if (SearchPanel->isVisibleTo(this)) SearchTree->setFocus(Qt::OtherFocusReason);
  if (FirstDocumentDone && TocPanel->isVisibleTo(this)) TOCtree->setFocus(Qt::OtherFocusReason);
  FirstDocumentDone = true;
}

void TBB1::focus_browser() {
  if (!WebBrowser1 || !WebBrowser1->Document()) return;
  WebBrowser1->Activate();
}

}  // namespace ebook
