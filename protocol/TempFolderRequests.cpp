#include "protocol/TempFolderRequests.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "platform/PathCase.h"
#include "protocol/BookRequestRules.h"

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

QString BookFileForRequest(const QString& folder, const QString& path) {
  const QString clean = QDir::cleanPath(path) + (path.endsWith(QLatin1Char('/')) &&
                                                        path.size() > 1 ? QStringLiteral("/")
                                                                        : QString());
  if (clean.startsWith(folder) || clean + QLatin1Char('/') == folder) {
    const QString folded = CaseFoldedBookFile(folder, clean);
    return folded.isEmpty() ? clean : folded;
  }
  // Read from the folder's top: "/license.html" is the folder's LICENSE.HTML.
  const QString fromTop = folder + clean.mid(1);
  if (QFileInfo::exists(fromTop)) return fromTop;
  return CaseFoldedBookFile(folder, fromTop);
}

// Runs on the browser engine's IO thread: it reads only the fixed folder and the file system.
void TempFolderRequests::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const QUrl url = info.requestUrl();
  const bool fromBook = info.initiator().scheme() == QLatin1String("file") ||
                        (info.initiator().isEmpty() && info.firstPartyUrl().isLocalFile());
  if (!url.isLocalFile()) {
    if (BlocksScriptConnection(info, fromBook, false)) info.block(true);
    return;
  }
  const QString path = url.toLocalFile();
  const QString file = BookFileForRequest(folder_, path);
  if (file.isEmpty()) {
    info.block(true);
    return;
  }
  if (file == path) return;
  QUrl redirected = QUrl::fromLocalFile(file);
  redirected.setQuery(url.query());
  redirected.setFragment(url.fragment());
  info.redirect(redirected);
}

}  // namespace ebook
