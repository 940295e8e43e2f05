// The viewer tests. The book scheme must be registered before the application object exists,
// so this main() replaces QTEST_MAIN: it prepares a private environment, registers the scheme,
// creates the application and runs the test classes: all in the order of their names, or only
// the one named first.

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "protocol/BookScheme.h"
#include "viewer/window/Application.h"

int main(int argc, char** argv) {
  const auto& classes = ebook::test::TestClasses();
  const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
  // A misspelt name would otherwise run nothing and pass.
  if (only && !classes.contains(only)) {
    std::fprintf(stderr, "No viewer test class is named %s. The classes:", only);
    for (const auto& [name, make] : classes) std::fprintf(stderr, " %s", name.c_str());
    std::fprintf(stderr, "\n");
    return 1;
  }

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

  int failures = 0;
  for (const auto& [name, make] : classes) {
    if (only && name != only) continue;
    const std::unique_ptr<QObject> test = make();
    QStringList arguments{QString::fromLocal8Bit(argv[0])};
    for (int i = only ? 2 : 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    failures += QTest::qExec(test.get(), arguments);
  }
  // The count of failed test functions; exit statuses stop at 255.
  return std::min(failures, 255);
}
