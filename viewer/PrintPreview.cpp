#include "viewer/PrintPreview.h"

#include <QEventLoop>
#include <QPrintPreviewDialog>
#include <QScopeGuard>
#include <QTimer>
#include <QWebEngineView>

namespace ebook {

namespace {

PrintPreview::DialogHook& Hook() {
  static PrintPreview::DialogHook hook;
  return hook;
}

// Only one preview at a time, whoever asks ("PRIN#" from a page while the toolbar's Print
// preview is open, for instance).
bool previewOpen = false;

}  // namespace

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

void PrintPreview::exec() {
  if (previewOpen) return;
  previewOpen = true;
  const auto closed = qScopeGuard([] { previewOpen = false; });
  QPrintPreviewDialog dialog(&printer_, dialogParent_);
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, &PrintPreview::render);
  if (Hook()) QTimer::singleShot(0, &dialog, [&dialog] { Hook()(dialog); });
  dialog.exec();
}

void PrintPreview::render(QPrinter* printer) {
  if (rendering_) return;
  rendering_ = true;
  const auto finished = qScopeGuard([this] { rendering_ = false; });
  QEventLoop done;
  const auto connection =
      connect(view_, &QWebEngineView::printFinished, &done, [&done](bool) { done.quit(); });
  view_->print(printer);
  done.exec();
  disconnect(connection);
}

}  // namespace ebook
