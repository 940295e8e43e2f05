#pragma once
// The print preview of the page shown: a preview dialog whose pages the browser engine renders,
// from which the reader prints. The engine prints asynchronously, so each rendering waits for
// it in a local event loop; while one rendering or one preview is under way, a second request
// is ignored (the preview asks again when the reader prints from it).
//
// Printing to a PDF file ("Print to File" in the print dialog, or the preview's own "Save as
// PDF…") hands the page to the engine's PDF output with the preview's page layout: vector
// pages with their text. The preview itself and real printers get the pages the engine draws
// as pictures.

#include <QObject>
#include <QPrinter>
#include <functional>

class QAction;
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

  // Asks the reader where to save the PDF, proposing `suggested` (a path); "" when the reader
  // cancels. The default asks with a file dialog over `parent`; a test answers itself. An
  // empty chooser restores the dialog; returns the previous chooser.
  using SaveFileChooser = std::function<QString(QWidget& parent, const QString& suggested)>;
  static SaveFileChooser SetSaveFileChooser(SaveFileChooser chooser);

  // The caption of the preview's action that saves the page as a PDF file.
  static QString SaveAsPdfText();

 private:
  void render(QPrinter* printer);
  void addSaveAction(QPrintPreviewDialog& dialog);
  void saveAsPdf(QPrintPreviewDialog& dialog);
  void setRendering(bool rendering);

  QWebEngineView* view_;
  QWidget* dialogParent_;
  QPrinter printer_;
  QAction* saveAction_ = nullptr;
  bool rendering_ = false;
};

// True when printing to `printer` writes a PDF file (not a printer, not the preview's pages).
bool PrintsToPdfFile(const QPrinter& printer);

}  // namespace ebook
