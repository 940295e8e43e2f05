#pragma once
// The print preview of the page shown: a preview dialog whose pages the browser engine renders,
// from which the reader prints. The engine prints asynchronously, so each rendering waits for
// it in a local event loop; while one rendering or one preview is under way, a second request
// is ignored (the preview asks again when the reader prints from it).

#include <QObject>
#include <QPrinter>
#include <functional>

class QPrintPreviewDialog;
class QWebEngineView;
class QWidget;

namespace ebook {

class PrintPreview : public QObject {
  Q_OBJECT
 public:
  PrintPreview(QWebEngineView* view, QWidget* dialogParent);

  // Shows the preview and returns when the reader has closed it.
  void exec();

  // Called with the open dialog once its event loop runs, so that a test can look at the
  // pages and close it. The hook must not wait there: the pages are rendered after it
  // returns. An empty hook restores plain behaviour; returns the previous hook.
  using DialogHook = std::function<void(QPrintPreviewDialog& dialog)>;
  static DialogHook SetDialogHook(DialogHook hook);

 private:
  void render(QPrinter* printer);

  QWebEngineView* view_;
  QWidget* dialogParent_;
  QPrinter printer_;
  bool rendering_ = false;
};

}  // namespace ebook
