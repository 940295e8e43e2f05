#include "support/window/WindowWaits.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QWebEngineView>
#include <string>

#include "support/window/TestBook.h"
#include "viewer/browser/WebBrowser.h"
#include "viewer/window/MainWindow.h"

namespace ebook::test {

void WaitForPage(TBB1& window, std::source_location where) {
  WaitUntil([&] { return !window.WebBrowser1->Busy(); }, "the page to finish loading",
            kWaitDeadline, where);
}

void WaitForDocument(TBB1& window, std::source_location where) {
  WaitUntil([&] { return window.WebBrowser1->Document() && !window.WebBrowser1->Busy(); },
            "a first page to load and the page to finish loading", kWaitDeadline, where);
}

void WaitForLocation(TBB1& window, const QString& address, std::source_location where) {
  const std::string what = "the page at " + address.toStdString() + " to finish loading";
  WaitUntil(
      [&] { return window.WebBrowser1->LocationURL() == address && !window.WebBrowser1->Busy(); },
      what.c_str(), kWaitDeadline, where);
}

bool OpenAndWait(TBB1& window, const QString& address, std::source_location where) {
  QSignalSpy finished(window.WebBrowser1->engineView()->page(), &QWebEnginePage::loadFinished);
  window.WebBrowser1->Navigate(address);
  const std::string what = "the load of " + address.toStdString() + " to end";
  return WaitUntil([&] { return !finished.isEmpty(); }, what.c_str(), kWaitDeadline, where) &&
         finished.first().first().toBool();
}

void WaitForSearch(TBB1& window, std::source_location where) {
  WaitUntil([&] { return window.Button1->isEnabled(); }, "the search to finish", kWaitDeadline,
            where);
}

}  // namespace ebook::test
