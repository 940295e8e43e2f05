#include "viewer/StartAddress.h"

#include <QRegularExpression>
#include <QUrl>

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

QString ChooseStartAddress(const StartAddressInputs& in) {
  QString address = in.baseUrl + in.startPage;
  if (in.bookmarkEnabled && !in.savedBookmark.isEmpty())
    address = RebaseBookmark(in.savedBookmark, in.baseUrl);
  if (!in.commandLinePage.isEmpty()) address = in.baseUrl + in.commandLinePage;
  return address;
}

}  // namespace ebook
