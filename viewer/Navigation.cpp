// TBB1: the browser control's events and the keyboard focus.

#include "viewer/MainWindow.h"
#include "viewer/WebBrowser.h"

namespace ebook {

void TBB1::webbrowser1BeforeNavigate2(const QString& URL, bool isMainFrame, bool* Cancel) {
  // Link commands ("#DO#...") and the contents' page tracking hook in here.
  (void)URL;
  (void)isMainFrame;
  (void)Cancel;
}

void TBB1::webbrowser1CommandStateChange(int command, bool enable) {
  if (command == WebBrowser::CSC_NAVIGATEBACK) CanGoBack = enable;
  if (command == WebBrowser::CSC_NAVIGATEFORWARD) CanGoForward = enable;
}

void TBB1::webbrowser1DocumentComplete(const QString& URL) { (void)URL; }

void TBB1::focus_browser() { WebBrowser1->Activate(); }

}  // namespace ebook
