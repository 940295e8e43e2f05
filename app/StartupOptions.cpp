#include "StartupOptions.h"

#include <QDir>
#include <QtGlobal>
#include <unistd.h>

namespace ebook {

namespace {
const QString kScreenshot = QStringLiteral("--screenshot");
const QString kQuitAfterLoad = QStringLiteral("--quit-after-load");
}  // namespace

StartupOptions ParseStartupOptions(const QStringList& arguments) {
  StartupOptions options;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == kScreenshot && i + 1 < arguments.size()) {
      options.screenshotPath = arguments[++i];
    } else if (arguments[i] == kQuitAfterLoad) {
      options.quitAfterLoad = true;
    }
  }
  if (options.screenshotPath.isEmpty() && NoDisplay()) {
    options.noDisplay = true;
    options.screenshotPath = QDir::tempPath() + QStringLiteral("/ebook-%1.png").arg(getpid());
  }
  return options;
}

QString FirstPageArgument(const QStringList& arguments) {
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == kScreenshot) {
      ++i;
    } else if (arguments[i] != kQuitAfterLoad) {
      return arguments[i];
    }
  }
  return {};
}

QStringList WithoutViewerOptions(const QStringList& arguments) {
  QStringList rest;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == kScreenshot) {
      ++i;
    } else if (arguments[i] != kQuitAfterLoad) {
      rest << arguments[i];
    }
  }
  return rest;
}

bool NoDisplay() {
  return qEnvironmentVariableIsEmpty("DISPLAY") &&
         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
         qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace ebook
