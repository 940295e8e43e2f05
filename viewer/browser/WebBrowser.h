#pragma once
// WebBrowser1: the embedded HTML browser control as the rest of the viewer sees it. The
// window is written against these members only (navigation, history, busy state, the current
// address and the three events); the Qt WebEngine view behind them stays an implementation
// detail, reached through engineView() only by the printing and find commands.
//
// Events:
//   BeforeNavigate2  before every navigation of the page or of a frame in it (a link, a script
//                    or Navigate); setting *Cancel stops it and the current document stays.
//                    Same-document moves ("#anchor") are reported too; an address with the
//                    link-command marker "#DO#" has been cancelled in the page already.
//   CommandStateChange(command, enable)  CSC_NAVIGATEFORWARD / CSC_NAVIGATEBACK became
//                    possible or impossible.
//   DocumentComplete the page has finished loading (also after a failed or cancelled load).
//   LocationChanged  the address of the page shown changed: every navigation that lands,
//                    whatever started it (a link, Back, a "#anchor", Navigate).
//   PrintRequested   a script of the page (or of a frame in it) called window.print().

#include <QString>
#include <QUrl>
#include <QWidget>

class QWebEngineProfile;
class QWebEnginePage;
class QWebEngineView;

namespace ebook {

class BrowserPage;

class WebBrowser : public QWidget {
  Q_OBJECT
 public:
  static constexpr int CSC_UPDATECOMMANDS = -1;
  static constexpr int CSC_NAVIGATEFORWARD = 1;
  static constexpr int CSC_NAVIGATEBACK = 2;

  WebBrowser(QWebEngineProfile* profile, QWidget* parent = nullptr);
  ~WebBrowser() override;

  void Navigate(const QString& URL);
  void GoBack();
  void GoForward();
  void Refresh();
  void Stop();

  // The current document; nullptr before the first document has loaded.
  QWebEnginePage* Document() const;
  // Makes the control the active control that receives the keyboard.
  void Activate();
  bool Busy() const { return busy_; }
  // Whether the last load that finished showed its page (false for a refused or failed load).
  bool LastLoadSucceeded() const { return lastLoadOk_; }
  // The full address of the current document.
  QString LocationURL() const;

  QWebEngineView* engineView() const { return view_; }

 signals:
  void BeforeNavigate2(const QString& URL, bool isMainFrame, bool* Cancel);
  void CommandStateChange(int command, bool enable);
  void DocumentComplete(const QString& URL);
  void LocationChanged(const QString& URL);
  void PrintRequested();

 private:
  void onLoadStarted();
  void onLoadFinished(bool ok);

  QWebEngineView* view_;
  BrowserPage* page_;
  bool busy_ = false;
  bool hasDocument_ = false;
  bool lastLoadOk_ = false;
};

// The URL an address given to Navigate stands for: a full address as it is, an absolute local
// path (temp-folder mode) as a file URL.
QUrl AddressToUrl(const QString& address);

}  // namespace ebook
