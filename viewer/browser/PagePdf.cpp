#include "viewer/browser/PagePdf.h"

#include <QEventLoop>
#include <QFile>
#include <QPrinter>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace ebook {

namespace {

// The engine creates the file for its owner alone; a PDF the reader saves is an ordinary
// document, readable as other files of the reader are.
void MakeReadable(const QString& path) {
  QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadOwner | QFile::ReadUser |
                                  QFile::ReadGroup | QFile::ReadOther);
}

}  // namespace

bool WritePagePdf(QWebEnginePage* page, const QString& path, const QPageLayout& layout,
                  const QPageRanges& ranges, int patienceMs) {
  if (!page || path.isEmpty() || page->renderProcessPid() <= 0) return false;
  bool written = false;
  QEventLoop done;
  // The engine names the file it has finished; another printing of the same page may end
  // while this one runs.
  const auto connection = QObject::connect(
      page, &QWebEnginePage::pdfPrintingFinished, &done,
      [&](const QString& filePath, bool success) {
        if (filePath != path) return;
        written = success;
        done.quit();
      });
  // Without its renderer the engine never answers.
  const auto gone = QObject::connect(page, &QWebEnginePage::renderProcessTerminated, &done,
                                     [&done] { done.quit(); });
  // The renderer must show a loaded document first: a print request to a page whose
  // renderer has no document (it answers scripts with nothing) is never answered.
  page->runJavaScript(QStringLiteral("document.readyState"), QWebEngineScript::ApplicationWorld,
                      [&done, page, path, layout, ranges](const QVariant& state) {
                        if (state.toString() != QLatin1String("complete")) {
                          done.quit();
                          return;
                        }
                        page->printToPdf(path, layout, ranges);
                      });
  if (patienceMs >= 0) QTimer::singleShot(patienceMs, &done, &QEventLoop::quit);
  done.exec();
  QObject::disconnect(connection);
  QObject::disconnect(gone);
  if (written) MakeReadable(path);
  return written;
}

QPageRanges PrinterPageRanges(const QPrinter& printer) {
  return printer.printRange() == QPrinter::PageRange ? printer.pageRanges() : QPageRanges();
}

QPageLayout DefaultPageLayout() {
  const QPrinter printer;
  return printer.pageLayout();
}

}  // namespace ebook
