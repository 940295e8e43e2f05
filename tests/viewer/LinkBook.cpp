#include "LinkBook.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <QWebEnginePage>

#include "support/window/TestBook.h"
#include "support/window/WindowWaits.h"
#include "viewer/browser/WebBrowser.h"
#include "viewer/dialogs/PrintPreview.h"
#include "viewer/window/MainWindow.h"

namespace ebook::test {
namespace {

QString Quoted(const QString& text) { return QLatin1Char('\'') + text + QLatin1Char('\''); }

}  // namespace

void InstallLinkBook(const std::string& options, const std::string& href,
                     std::vector<std::string> extra) {
  std::vector<std::string> lines = {"[cSettings]", "DATA=" + options, "home=start.htm", "[cInfo]",
                                    "title=Links"};
  lines.insert(lines.end(), extra.begin(), extra.end());
  const std::string link = "<a id=go href=\"" + href + "\">go</a>";
  InstallBook({SettingsEntry(lines),
               {"start.htm", "<title>start</title>" + link + "<iframe src=frame.htm></iframe>"},
               {"frame.htm", "<title>frame</title>" + link},
               {"other.htm", "<title>other</title>"}});
}

void Trigger(TBB1& window, Way way, const QString& href) {
  QWebEnginePage* page = window.WebBrowser1->Document();
  const QString frame = QStringLiteral("document.querySelector('iframe').contentWindow");
  switch (way) {
    case Way::Link:
    case Way::FragmentLink:
      RunScript(page, QStringLiteral("document.getElementById('go').click()"));
      break;
    case Way::Script:
      RunScript(page, QStringLiteral("location.href = ") + Quoted(href));
      break;
    case Way::FrameLink:
      RunScript(page, frame + QStringLiteral(".document.getElementById('go').click()"));
      break;
    case Way::FrameScript:
      RunScript(page, frame + QStringLiteral(".location.href = ") + Quoted(href));
      break;
  }
}

void WaitForFrame(TBB1& window) {
  WaitForDocument(window);
  WaitUntil(
      [&] {
        return RunScript(window.WebBrowser1->Document(),
                         QStringLiteral("(function(){var f=document.querySelector('iframe');"
                                        "return !!f && f.contentDocument.readyState==='complete'"
                                        " && !!f.contentDocument.getElementById('go');})()"))
            .toBool();
      },
      "the start page's frame to finish loading");
}

void Fence(TBB1& window) {
  RunScript(window.WebBrowser1->Document(), QStringLiteral("location.href = '#DO#SHOW#END'"));
  WaitUntil([] { return !Messages().empty() && Messages().back().text == QLatin1String("END"); },
            "the fence message END to be shown");
}

QStringList MessageTexts() {
  QStringList texts;
  for (const RecordedMessage& message : Messages()) texts << message.text;
  return texts;
}

QString PageAddress(TBB1& window) {
  return RunScript(window.WebBrowser1->Document(), QStringLiteral("location.href")).toString();
}

PreviewWatch::PreviewWatch() {
  // The preview is looked at once it has pages, then closed; the hook must not wait inside,
  // as the preview renders after it has been called.
  PrintPreview::SetDialogHook([this](QPrintPreviewDialog& dialog) {
    ++previews;
    auto* poll = new QTimer(&dialog);
    QObject::connect(poll, &QTimer::timeout, &dialog, [this, &dialog] {
      auto* preview = dialog.findChild<QPrintPreviewWidget*>();
      if (!preview || preview->pageCount() == 0) return;
      pages = preview->pageCount();
      dialog.reject();
    });
    poll->start(10);
  });
}

PreviewWatch::~PreviewWatch() { PrintPreview::SetDialogHook({}); }

}  // namespace ebook::test
