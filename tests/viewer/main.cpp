// The viewer tests. The book scheme must be registered before the application object exists,
// so this main() replaces QTEST_MAIN: it prepares a private environment, registers the scheme,
// creates the application and runs the test classes (all, or the one named first).

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <memory>
#include <unistd.h>

#include "support/window/TestBook.h"
#include "protocol/BookScheme.h"
#include "viewer/window/Application.h"

std::unique_ptr<QObject> MakeProtocolTest();
std::unique_ptr<QObject> MakeMainWindowTest();
std::unique_ptr<QObject> MakeDialogsTest();
std::unique_ptr<QObject> MakeNavigationTest();
std::unique_ptr<QObject> MakeToolbarTest();
std::unique_ptr<QObject> MakeContentsTest();
std::unique_ptr<QObject> MakeTempFolderModeTest();
std::unique_ptr<QObject> MakeSearchTest();
std::unique_ptr<QObject> MakeShortcutsTest();
std::unique_ptr<QObject> MakeHighDpiTest();
std::unique_ptr<QObject> MakeRealBooksTest();
std::unique_ptr<QObject> MakeWindowTextsTest();
std::unique_ptr<QObject> MakePrintTest();
std::unique_ptr<QObject> MakeHostilePagesTest();
std::unique_ptr<QObject> MakeWelcomeWindowTest();

int main(int argc, char** argv) {
  // The browser engine refuses to run as root with its sandbox on.
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Private runtime and configuration folders: the reader's own bookmarks stay untouched.
  QTemporaryDir home;
  QDir(home.path()).mkpath(QStringLiteral("runtime"));
  QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", home.filePath(QStringLiteral("runtime")).toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     home.filePath(QStringLiteral("config")));

  ebook::RegisterBookScheme();
  ebook::Application app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  ebook::test::RecordMessages();

  const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
  const std::pair<const char*, std::unique_ptr<QObject> (*)()> classes[] = {
      {"ProtocolTest", MakeProtocolTest},
      {"MainWindowTest", MakeMainWindowTest},
      {"DialogsTest", MakeDialogsTest},
      {"NavigationTest", MakeNavigationTest},
      {"ToolbarTest", MakeToolbarTest},
      {"ContentsTest", MakeContentsTest},
      {"TempFolderModeTest", MakeTempFolderModeTest},
      {"SearchTest", MakeSearchTest},
      {"ShortcutsTest", MakeShortcutsTest},
      {"HighDpiTest", MakeHighDpiTest},
      {"RealBooksTest", MakeRealBooksTest},
      {"WindowTextsTest", MakeWindowTextsTest},
      {"PrintTest", MakePrintTest},
      {"HostilePagesTest", MakeHostilePagesTest},
      {"WelcomeWindowTest", MakeWelcomeWindowTest},
  };
  int failures = 0;
  for (const auto& [name, make] : classes) {
    if (only && std::strcmp(only, name) != 0) continue;
    const std::unique_ptr<QObject> test = make();
    QStringList arguments{QString::fromLocal8Bit(argv[0])};
    for (int i = only ? 2 : 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    failures += QTest::qExec(test.get(), arguments);
  }
  return failures;
}
