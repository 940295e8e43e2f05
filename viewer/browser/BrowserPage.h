#pragma once
// The page inside WebBrowser1: passes every navigation request of the page and its frames to
// the browser control's before-navigate event, the engine's own requests as well as the
// same-document moves and link commands that its LinkCatcher reports.

#include <QWebEnginePage>

namespace ebook {

class WebBrowser;

class BrowserPage : public QWebEnginePage {
  Q_OBJECT
 public:
  BrowserPage(QWebEngineProfile* profile, WebBrowser* browser);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  WebBrowser* browser_;
};

}  // namespace ebook
