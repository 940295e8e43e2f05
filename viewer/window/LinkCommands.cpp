// TBB1: the in-page link commands, the commands of the browser's current document and the
// page's own print requests.

#include <QTimer>

#include <QPointer>

#include "platform/Shell.h"
#include "platform/RunningBook.h"
#include "navigation/LinkCommand.h"
#include "platform/PathCase.h"
#include "viewer/widgets/AnsiText.h"
#include "viewer/browser/BookAddress.h"
#include "viewer/window/MainWindow.h"
#include "viewer/dialogs/PrintPreview.h"
#include "viewer/dialogs/ReaderMessages.h"
#include "viewer/browser/WebBrowser.h"

namespace ebook {

namespace {

// Command 7 of the standard command group: the print preview of the current document.
constexpr uint32_t kPrintPreviewCommand = 7;

}  // namespace

void TBB1::runLinkCommand(const LinkCommand& command) {
  switch (command.kind) {
    case LinkCommandWord::Show: {
      // One box at a time: a page that repeats SHOW# while its box is open would stack boxes
      // the reader can never get past.
      if (showBoxOpen_) break;
      showBoxOpen_ = true;
      const QPointer<TBB1> window(this);
      ShowMessage(FromAnsi(command.argument));
      if (window) showBoxOpen_ = false;
      break;
    }
    case LinkCommandWord::Open: {
      // "$DRV$" is the volume that holds the book, "$WIN$" the system's; names are matched to
      // the files on disk without regard to letter case, as the book's author saw them.
      const std::string target = ExpandOpenArgument(
          command.argument, VolumeRootOf(BookFilePath()), SystemDriveRoot());
      ShellOpen(ResolvePathIgnoringCase(target));
      break;
    }
    case LinkCommandWord::Exit:
    case LinkCommandWord::Quit:
      SpeedButton9Click();
      break;
    case LinkCommandWord::Find:
      SpeedButton6Click();
      break;
    case LinkCommandWord::Toc1:
      SpeedButton12Click();
      break;
    case LinkCommandWord::Prin:
      SpeedButton7Click();
      break;
    case LinkCommandWord::Unknown:
      break;
  }
}

void TBB1::SpeedButton7Click() { exec_command(false, kPrintPreviewCommand); }

void TBB1::webbrowser1PrintRequested() {
  // A page's own print button opens the same preview, in the book's pages only, as "PRIN#"
  // does. The engine is waiting for the request to return.
  if (!IsBookAddress(WebBrowser1->LocationURL(), BookBaseUrl)) return;
  QTimer::singleShot(0, this, &TBB1::SpeedButton7Click);
}

void TBB1::exec_command(bool useBrowserGroup, uint32_t command) {
  if (!WebBrowser1 || !WebBrowser1->Document()) return;
  // Whatever goes wrong in the document's commands is dropped.
  try {
    if (!useBrowserGroup && command == kPrintPreviewCommand) {
      PrintPreview(WebBrowser1->engineView(), this).exec();
    }
  } catch (...) {
  }
}

}  // namespace ebook
