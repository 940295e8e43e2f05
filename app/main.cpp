// The viewer program. A bare viewer carries no archive; a book is this program with its
// archive appended (behind the launcher, see launcher/main.cpp). Start-up order: the book file
// is chosen and its image loaded (BookChoice.h), the book scheme is made known to the browser
// engine, the self-replacement hand-over runs, the splash (if the book has one) goes up, the application
// title is set, the main window is created (which configures itself from the book and starts
// loading the first page), then the hidden About box; the message loop runs until the main
// window closes. The process's book (ExeImage) is handed to the splash and the main window
// here; nothing past the program entry reaches for it.

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTimer>
#include <QWebEnginePage>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include "BookChoice.h"
#include "StartupOptions.h"
#include "archive/MemoryBudget.h"
#include "platform/AvailableMemory.h"
#include "platform/PumpWait.h"
#include "platform/SelfReplace.h"
#include "platform/Shell.h"
#include "platform/RunningBook.h"
#include "platform/TerminationSignals.h"
#include "protocol/BookScheme.h"
#include "viewer/dialogs/AboutBox.h"
#include "viewer/window/Application.h"
#include "viewer/window/MainWindow.h"
#include "viewer/browser/PagePdf.h"
#include "viewer/dialogs/ReaderMessages.h"
#include "viewer/dialogs/SplashScreen.h"
#include "viewer/dialogs/RecentBooks.h"
#include "viewer/browser/WebBrowser.h"
#include "viewer/dialogs/WelcomeWindow.h"

namespace {

QStringList RawArguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

// Rendering without a display: the offscreen platform, and (only when running as root, where
// the browser engine refuses its sandbox) no sandbox for this one rendering.
void PrepareOffscreen(const ebook::StartupOptions& options) {
  if (options.noDisplay) {
    std::cerr << "ebook: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset); "
                 "rendering the window offscreen instead.\n";
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  }
  // Nobody can press OK on a box drawn offscreen.
  ebook::SetMessageReporter([](ebook::MessageKind, const QString& caption, const QString& text) {
    std::cerr << caption.toStdString() << ": " << text.toStdString() << "\n";
  });
}

// After the first page: a screenshot, or a line for start-up timing, then the end.
void ConnectFirstPage(ebook::TBB1& window, const ebook::StartupOptions& options) {
  if (options.screenshotPath.isEmpty() && !options.quitAfterLoad) return;
  auto done = std::make_shared<bool>(false);
  const auto finish = [&window, options, done] {
    if (*done) return;
    *done = true;
    if (options.quitAfterLoad) {
      std::cout << "loaded " << window.WebBrowser1->LocationURL().toStdString() << std::endl;
      QCoreApplication::exit(0);
      return;
    }
    // Give the compositor a moment to draw the page that has just loaded.
    QTimer::singleShot(500, &window, [&window, options] {
      const QString path = QFileInfo(options.screenshotPath).absoluteFilePath();
      if (!window.grab().save(path, "PNG")) {
        std::cerr << "ebook: cannot write " << path.toStdString() << "\n";
        QCoreApplication::exit(1);
        return;
      }
      std::cout << path.toStdString() << std::endl;
      QCoreApplication::exit(0);
    });
  };
  QObject::connect(window.WebBrowser1, &ebook::WebBrowser::DocumentComplete, &window, finish);
  // A temp-folder book's first page has loaded while the window was made.
  if (window.WebBrowser1->Document() && !window.WebBrowser1->Busy())
    QTimer::singleShot(0, &window, finish);
  // A book that shows no page at start-up (contents navigation without contents) is
  // rendered as it is.
  if (!options.screenshotPath.isEmpty()) QTimer::singleShot(30000, &window, finish);
}

std::vector<std::string> Local8Bit(const QStringList& arguments) {
  std::vector<std::string> bytes;
  for (const QString& argument : arguments) bytes.push_back(argument.toLocal8Bit().toStdString());
  return bytes;
}

// The installed viewer without a book: the welcome window. A chosen book is shown by this
// program started afresh on it, exactly as `ebook BOOKFILE` shows it.
int RunWelcome(int argc, char** argv, const ebook::BookChoice& choice,
               const ebook::StartupOptions& options) {
  if (!choice.problem.isEmpty()) std::cerr << "ebook: " << choice.problem.toStdString() << "\n";
  ebook::Application app(argc, argv);
  ebook::WelcomeWindow window(choice.problem);
  // A request to end closes the window (there is nothing to save).
  QSocketNotifier termination(ebook::InstallTerminationSignals(), QSocketNotifier::Read);
  QObject::connect(&termination, &QSocketNotifier::activated, &app, [] {
    if (ebook::TakeTerminationSignal() == 0) return;
    if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) box->reject();
    QCoreApplication::exit(0);
  });
  QObject::connect(&window, &ebook::WelcomeWindow::bookChosen, &window, [argv](const QString& path) {
    const std::string program = ebook::ExecutablePath();
    const QByteArray book = path.toLocal8Bit();
    char* arguments[] = {argv[0], const_cast<char*>(book.constData()), nullptr};
    execv(program.c_str(), arguments);
    ebook::ShowMessage(QStringLiteral("The viewer cannot be started again: %1.")
                           .arg(QString::fromLocal8Bit(strerror(errno))));
  });
  window.show();
  if (!options.screenshotPath.isEmpty()) {
    QTimer::singleShot(300, &window, [&window, options] {
      const QString path = QFileInfo(options.screenshotPath).absoluteFilePath();
      const bool saved = window.grab().save(path, "PNG");
      if (saved) std::cout << path.toStdString() << std::endl;
      QCoreApplication::exit(saved ? 0 : 1);
    });
  }
  return app.exec();
}

// After the first page: the page as a PDF file, then the end.
void ConnectPrintToPdf(ebook::TBB1& window, const ebook::StartupOptions& options) {
  if (options.printToPdfPath.isEmpty()) return;
  struct State {
    bool done = false;
    int reloads = 0;
  };
  auto state = std::make_shared<State>();
  const auto print = [&window, options, state](bool last) {
    if (state->done) return;
    const QString& path = options.printToPdfPath;
    QWebEnginePage* page = window.WebBrowser1->Document();
    if (page && ebook::WritePagePdf(page, path, ebook::DefaultPageLayout(), {}, 10000)) {
      state->done = true;
      std::cout << path.toStdString() << std::endl;
      QCoreApplication::exit(0);
      return;
    }
    // Now and then (about one start in ten on a busy machine) the engine of a page that has
    // just loaded never answers the print request; the page is loaded once more before giving
    // up. Nobody waits at a window for this one.
    if (page && !last && state->reloads < 2) {
      ++state->reloads;
      window.WebBrowser1->Refresh();
      return;
    }
    state->done = true;
    std::cerr << "ebook: cannot write " << path.toStdString() << "\n";
    QCoreApplication::exit(1);
  };
  // Printed once the page has loaded, from the message loop: the engine is still finishing
  // the load when it reports it.
  QObject::connect(window.WebBrowser1, &ebook::WebBrowser::DocumentComplete, &window,
                   [&window, print] { QTimer::singleShot(0, &window, [print] { print(false); }); });
  // In temp-folder mode creation has waited for the first page already.
  if (window.WebBrowser1->Document() && !window.WebBrowser1->Busy())
    QTimer::singleShot(0, &window, [print] { print(false); });
  // A book that shows no page at start-up has nothing to print.
  QTimer::singleShot(30000, &window, [print] { print(true); });
}

}  // namespace

int main(int argc, char** argv) {
  // Ending the session or the process (SIGTERM, SIGINT, SIGHUP) is honoured from here on: before
  // the window exists a request stops what start-up is doing (an extraction, the wait for the
  // first page, a message) and the program ends, its temporary folder deleted; once the window
  // is up it closes the normal way, so the bookmark is saved too.
  int terminationPipe = -1;
  // An entry that would inflate past what the process may still use fails instead of the process.
  ebook::SetAvailableMemoryProbe([] { return ebook::AvailableMemory(); });
  try {
    terminationPipe = ebook::InstallTerminationSignals();
  } catch (const std::exception& error) {
    std::cerr << "ebook: " << error.what() << "\n";
    return 1;
  }
  const QStringList rawArguments = RawArguments(argc, argv);
  const ebook::StartupOptions options = ebook::ParseStartupOptions(rawArguments);
  const QStringList arguments = ebook::WithoutViewerOptions(rawArguments);
  ebook::BookChoice choice;
  // Printing is headless, as browsers print: the window is drawn offscreen whatever display
  // there is. It is still shown there, as the engine of a view never shown may not finish
  // a PDF.
  if (!options.printToPdfPath.isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  try {
    choice = ebook::ChooseBook(arguments);
  } catch (const std::exception& error) {
    std::cerr << "ebook: " << error.what() << "\n";
    return 1;
  }
  if (choice.kind == ebook::BookChoice::Kind::Help) {
    std::cout << ebook::ViewerUsage().toStdString();
    return 0;
  }
  if (choice.kind == ebook::BookChoice::Kind::Version) {
    std::cout << ebook::ViewerVersion().toStdString();
    return 0;
  }
  if (!options.screenshotPath.isEmpty() || !options.printToPdfPath.isEmpty())
    PrepareOffscreen(options);
  if (choice.kind != ebook::BookChoice::Kind::Book) return RunWelcome(argc, argv, choice, options);

  ebook::RegisterBookScheme();
  // A book started as temp0a0.exe replaces the book file named by its argument and relaunches
  // it; a book started with "deltemp" removes that copy first. A book file the installed
  // viewer shows is relaunched through the viewer, since it need not be executable.
  ebook::SelfReplaceOptions replacement;
  if (!choice.bookArgument.isEmpty()) {
    replacement.relaunch = [](const std::string& book, const std::string& argument) {
      return ebook::SpawnDetached(ebook::ExecutablePath(), {book, argument}, false);
    };
  }
  const ebook::SelfReplaceOutcome handover = ebook::SelfReplaceStartup(
      Local8Bit(ebook::ArgumentsAfterBook(arguments, choice)), ebook::BookFilePath(), replacement);

  ebook::Application app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  ebook::SetMessagePump([] { QCoreApplication::processEvents(); });
  if (!handover.message.empty()) ebook::ShowMessage(QString::fromLocal8Bit(handover.message.c_str()));
  if (handover.quit || ebook::TerminationRequested()) return 0;
  if (!choice.bookArgument.isEmpty()) ebook::RememberRecentBook(choice.bookArgument);
  ebook::TBB1* window = nullptr;  // set once the window is complete
  QSocketNotifier termination(terminationPipe, QSocketNotifier::Read);
  QObject::connect(&termination, &QSocketNotifier::activated, &app, [&window] {
    if (ebook::TakeTerminationSignal() == 0) return;
    // A message box open now returns, so that whatever waits on it can end.
    if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) box->reject();
    if (!window) return;
    ebook::RestoreDefaultTerminationSignals();
    window->closeOnRequest();
  });
  try {
    ebook::TSplashScreen::ShowIfWanted(ebook::ExeImage());
  } catch (...) {
    ebook::ReportCurrentException();
  }
  ebook::Application::setTitle(QStringLiteral("eBook"));

  // "deltemp" asked for the clean-up; it names no page.
  const QString page =
      handover.cleanedUp
          ? QString()
          : ebook::FirstPageArgument(
                ebook::ArgumentsAfterBook(QCoreApplication::arguments().mid(1), choice));
  ebook::TBB1 BB1(ebook::ExeImage(), page);
  // Asked to end while the window was being made: it closes unseen (the bookmark is saved)
  // and is destroyed with its folder.
  if (ebook::TerminationRequested()) {
    BB1.closeOnRequest();
    return 0;
  }
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &BB1,
                   [&BB1](QSessionManager&) { BB1.closeOnRequest(); });
  ebook::TBB2 BB2(&BB1);
  BB1.BB2 = &BB2;
  QObject::connect(&BB1, &ebook::TBB1::closed, &app, &QCoreApplication::quit);
  ConnectFirstPage(BB1, options);
  ConnectPrintToPdf(BB1, options);
  BB1.show();
  window = &BB1;
  return app.exec();
}
