#include "viewer/BrowserPage.h"

#include "viewer/ReaderMessages.h"
#include "viewer/WebBrowser.h"

namespace ebook {

BrowserPage::BrowserPage(QWebEngineProfile* profile, WebBrowser* browser)
    : QWebEnginePage(profile, browser), browser_(browser) {}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
  bool cancel = false;
  // Called from inside the engine: no exception may unwind into it.
  RunGuardedDeferred([&] {
    emit browser_->BeforeNavigate2(url.toString(QUrl::FullyEncoded), isMainFrame, &cancel);
  });
  return !cancel;
}

}  // namespace ebook
