#include "viewer/window/Application.h"

#include "viewer/widgets/InterfaceFont.h"
#include "viewer/dialogs/ReaderMessages.h"

namespace ebook {

namespace {
QString& TitleStore() {
  static QString title = QStringLiteral("eBook");
  return title;
}
}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // Every window and dialog at the size its layout was planned for.
  setFont(InterfaceFont(font()));
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ReportCurrentException();
    return false;
  }
}

QString Application::title() { return TitleStore(); }

void Application::setTitle(const QString& title) { TitleStore() = title; }

}  // namespace ebook
