#pragma once
// The application object. Its main addition to QApplication is the default error handler: an
// exception that leaves any event handler, slot or timer is caught here, shown to the reader
// in a message box captioned with the application title, and the viewer goes on. Without it
// an exception reaching Qt's event loop would end the process. It also sets the interface
// font (InterfaceFont.h) for every window and dialog.

#include <QApplication>
#include <QString>

namespace ebook {

class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // The application title: the caption of every message box; "eBook" until the book's
  // title replaces it. Kept apart from applicationDisplayName, which Qt would append to
  // every window caption.
  static QString title();
  static void setTitle(const QString& title);
};

}  // namespace ebook
