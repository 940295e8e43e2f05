#include "protocol/TempFolderRequests.h"

#include <QFileInfo>
#include <QUrl>

#include "navigation/PathCase.h"

namespace ebook {

TempFolderRequests::TempFolderRequests(const QString& folder, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), folder_(folder) {}

QString CaseFoldedBookFile(const QString& folder, const QString& path) {
  if (!path.startsWith(folder) || path.contains(QLatin1String("/../")) || QFileInfo::exists(path))
    return {};
  const QString resolved =
      QString::fromStdString(ResolvePathIgnoringCase(path.toStdString()));
  return resolved != path && resolved.startsWith(folder) && QFileInfo::exists(resolved) ? resolved
                                                                                         : QString();
}

// Runs on the browser engine's IO thread: it reads only the fixed folder and the file system.
void TempFolderRequests::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const QUrl url = info.requestUrl();
  if (!url.isLocalFile()) return;
  const QString file = CaseFoldedBookFile(folder_, url.toLocalFile());
  if (file.isEmpty()) return;
  QUrl redirected = QUrl::fromLocalFile(file);
  redirected.setQuery(url.query());
  redirected.setFragment(url.fragment());
  info.redirect(redirected);
}

}  // namespace ebook
