#include "viewer/dialogs/PrintPreview.h"

#include <QAction>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QWebEngineView>

#include "viewer/browser/PagePdf.h"
#include "viewer/dialogs/ReaderMessages.h"

namespace ebook {

namespace {

PrintPreview::DialogHook& Hook() {
  static PrintPreview::DialogHook hook;
  return hook;
}

// Only one preview at a time, whoever asks ("PRIN#" from a page while the toolbar's Print
// preview is open, for instance).
bool previewOpen = false;

// A file name from the page's title, without the characters file systems refuse.
QString SuggestedFileName(const QString& title) {
  QString name = title.simplified();
  static const QString refused = QStringLiteral("/\\:*?\"<>|");
  for (QChar& c : name) {
    if (refused.contains(c) || c.unicode() < 0x20) c = QLatin1Char('_');
  }
  if (name.isEmpty()) name = QStringLiteral("page");
  return name + QStringLiteral(".pdf");
}

PrintPreview::SaveFileChooser& Chooser() {
  static PrintPreview::SaveFileChooser chooser;
  return chooser;
}

QString AskForPdfFile(QWidget& parent, const QString& suggested) {
  QFileDialog chooser(&parent, PrintPreview::SaveAsPdfText().chopped(1));
  chooser.setAcceptMode(QFileDialog::AcceptSave);
  chooser.setFileMode(QFileDialog::AnyFile);
  chooser.setNameFilter(QStringLiteral("PDF files (*.pdf)"));
  chooser.setDefaultSuffix(QStringLiteral("pdf"));
  chooser.selectFile(suggested);
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return {};
  return chooser.selectedFiles().constFirst();
}

void ReportNotWritten(const QString& path) {
  ReportError(QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(path)));
}

}  // namespace

bool PrintsToPdfFile(const QPrinter& printer) {
  // While the preview collects its pages the printer draws into pictures, whatever output
  // the reader has chosen.
  const QPaintEngine* engine = printer.paintEngine();
  return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() &&
         engine && engine->type() != QPaintEngine::Picture;
}

PrintPreview::PrintPreview(QWebEngineView* view, QWidget* dialogParent)
    : view_(view), dialogParent_(dialogParent), printer_(QPrinter::HighResolution) {
  // The engine draws every page as a picture; at the printer's full resolution a few pages
  // take seconds, at 300 dpi a fraction of one.
  printer_.setResolution(300);
}

PrintPreview::DialogHook PrintPreview::SetDialogHook(DialogHook hook) {
  DialogHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

PrintPreview::SaveFileChooser PrintPreview::SetSaveFileChooser(SaveFileChooser chooser) {
  SaveFileChooser previous = std::move(Chooser());
  Chooser() = std::move(chooser);
  return previous;
}

QString PrintPreview::SaveAsPdfText() { return QStringLiteral("Save as PDF\u2026"); }

void PrintPreview::exec() {
  if (previewOpen) return;
  previewOpen = true;
  const auto closed = qScopeGuard([this] {
    previewOpen = false;
    saveAction_ = nullptr;
  });
  QPrintPreviewDialog dialog(&printer_, dialogParent_);
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, &PrintPreview::render);
  addSaveAction(dialog);
  if (Hook()) QTimer::singleShot(0, &dialog, [&dialog] { Hook()(dialog); });
  dialog.exec();
}

void PrintPreview::addSaveAction(QPrintPreviewDialog& dialog) {
  saveAction_ = new QAction(SaveAsPdfText(), &dialog);
  saveAction_->setObjectName(QStringLiteral("saveAsPdf"));
  saveAction_->setShortcut(QKeySequence::Save);
  saveAction_->setToolTip(QStringLiteral("Save the page as a PDF file with its text"));
  connect(saveAction_, &QAction::triggered, &dialog, [this, &dialog] { saveAsPdf(dialog); });
  // Beside the preview's own Print and Page setup actions, at the end of its tool bar.
  if (auto* bar = dialog.findChild<QToolBar*>()) {
    bar->addSeparator();
    bar->addAction(saveAction_);
  } else {
    dialog.addAction(saveAction_);
  }
}

void PrintPreview::saveAsPdf(QPrintPreviewDialog& dialog) {
  if (rendering_) return;
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!QDir(folder).exists()) folder = QDir::homePath();
  const QString suggested = QDir(folder).filePath(SuggestedFileName(view_->title()));
  const QString path =
      Chooser() ? Chooser()(dialog, suggested) : AskForPdfFile(dialog, suggested);
  if (path.isEmpty()) return;
  setRendering(true);
  const auto finished = qScopeGuard([this] { setRendering(false); });
  // The page size, orientation and margins the preview shows.
  if (!WritePagePdf(view_->page(), path, printer_.pageLayout())) ReportNotWritten(path);
}

void PrintPreview::setRendering(bool rendering) {
  rendering_ = rendering;
  if (saveAction_) saveAction_->setEnabled(!rendering);
}

void PrintPreview::render(QPrinter* printer) {
  if (rendering_) return;
  setRendering(true);
  const auto finished = qScopeGuard([this] { setRendering(false); });
  if (PrintsToPdfFile(*printer)) {
    // The engine writes the file itself; nothing is drawn on the printer.
    const QString path = printer->outputFileName();
    if (!WritePagePdf(view_->page(), path, printer->pageLayout(), PrinterPageRanges(*printer)))
      ReportNotWritten(path);
    return;
  }
  QEventLoop done;
  const auto connection =
      connect(view_, &QWebEngineView::printFinished, &done, [&done](bool) { done.quit(); });
  view_->print(printer);
  done.exec();
  disconnect(connection);
}

}  // namespace ebook
