#include "viewer/window/StartAddress.h"

#include <QRegularExpression>
#include <QUrl>

#include "viewer/browser/BookAddress.h"

namespace ebook {

QString RebaseBookmark(const QString& savedBookmark, const QString& baseUrl) {
  // A temp-folder book's bookmark names a file in the folder of the run that saved it, which
  // was deleted at its exit; the same page lies in this run's folder.
  static const QRegularExpression kTempFolderFile(
      QStringLiteral("^file://.*/TMP[0-9]{1,5}-[0-9]{1,5}/(.*)$"));
  if (!baseUrl.startsWith(QLatin1Char('/'))) return savedBookmark;
  const QRegularExpressionMatch match = kTempFolderFile.match(savedBookmark);
  if (!match.hasMatch()) return savedBookmark;
  return baseUrl + QUrl::fromPercentEncoding(match.captured(1).toUtf8());
}

bool IsBookmarkOfBook(const QString& bookmark, const QString& baseUrl) {
  // A temp-folder bookmark is a path in this run's folder once rebased.
  if (baseUrl.isEmpty() || (!bookmark.startsWith(baseUrl) && !IsBookAddress(bookmark, baseUrl)))
    return false;
  // A level up from the book's folder would leave it ("/tmp/TMP1-2/../../home/x").
  QString path = bookmark;
  path.truncate(path.indexOf(QLatin1Char('#')) < 0 ? path.size() : path.indexOf(QLatin1Char('#')));
  path = QUrl::fromPercentEncoding(path.toUtf8());
  static const QRegularExpression kLevelUp(QStringLiteral("(^|[/\\\\])\\.\\.([/\\\\]|$)"));
  return !kLevelUp.match(path).hasMatch();
}

QString ChooseStartAddress(const StartAddressInputs& in) {
  QString address = in.baseUrl + in.startPage;
  if (in.bookmarkEnabled && !in.savedBookmark.isEmpty()) {
    const QString bookmark = RebaseBookmark(in.savedBookmark, in.baseUrl);
    if (IsBookmarkOfBook(bookmark, in.baseUrl)) address = bookmark;
  }
  if (!in.commandLinePage.isEmpty()) address = in.baseUrl + in.commandLinePage;
  return address;
}

}  // namespace ebook
