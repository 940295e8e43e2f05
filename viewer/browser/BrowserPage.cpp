#include "viewer/browser/BrowserPage.h"

#include "viewer/browser/BookAddress.h"
#include "viewer/browser/LinkCatcher.h"
#include "viewer/dialogs/ReaderMessages.h"
#include "viewer/browser/WebBrowser.h"

namespace ebook {

BrowserPage::BrowserPage(QWebEngineProfile* profile, WebBrowser* browser)
    : QWebEnginePage(profile, browser), browser_(browser) {
  // Same-document moves and every link-command address come from the page's script instead.
  auto* catcher = new LinkCatcher(this);
  connect(catcher, &LinkCatcher::caught, this, [this](const QString& address, bool mainFrame) {
    bool cancel = false;
    RunGuardedDeferred([&] { emit browser_->BeforeNavigate2(address, mainFrame, &cancel); });
  });
}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
  bool cancel = false;
  // Called from inside the engine: no exception may unwind into it.
  RunGuardedDeferred(
      [&] { emit browser_->BeforeNavigate2(NavigationAddress(url), isMainFrame, &cancel); });
  return !cancel;
}

}  // namespace ebook
