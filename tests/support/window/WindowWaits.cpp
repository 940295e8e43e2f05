#include "support/window/WindowWaits.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QWebEngineView>
#include <string>

#include "support/window/TestBook.h"
#include "viewer/browser/WebBrowser.h"
#include "viewer/window/MainWindow.h"

namespace ebook::test {

void WaitForPage(TBB1& window) {
  WaitUntil([&] { return !window.WebBrowser1->Busy(); }, "the page to finish loading");
}

void WaitForDocument(TBB1& window) {
  WaitUntil([&] { return window.WebBrowser1->Document() && !window.WebBrowser1->Busy(); },
            "a first page to load and the page to finish loading");
}

void WaitForLocation(TBB1& window, const QString& address) {
  const std::string what = "the page at " + address.toStdString() + " to finish loading";
  WaitUntil(
      [&] { return window.WebBrowser1->LocationURL() == address && !window.WebBrowser1->Busy(); },
      what.c_str());
}

bool OpenAndWait(TBB1& window, const QString& address) {
  QSignalSpy finished(window.WebBrowser1->engineView()->page(), &QWebEnginePage::loadFinished);
  window.WebBrowser1->Navigate(address);
  const std::string what = "the load of " + address.toStdString() + " to end";
  if (!WaitUntil([&] { return !finished.isEmpty(); }, what.c_str())) return false;
  return finished.first().first().toBool();
}

void WaitForSearch(TBB1& window) {
  WaitUntil([&] { return window.Button1->isEnabled(); }, "the search to finish");
}

}  // namespace ebook::test
