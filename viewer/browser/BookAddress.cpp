#include "viewer/browser/BookAddress.h"

#include <QUrl>

namespace ebook {

QString NavigationAddress(const QUrl& url) {
  // Without EncodeDelimiters the fragment keeps its "#" characters.
  return url.toString(QUrl::EncodeSpaces | QUrl::EncodeUnicode | QUrl::EncodeReserved);
}

bool IsBookAddress(const QString& address, const QString& bookBaseUrl) {
  if (bookBaseUrl.isEmpty()) return false;
  const QString base = bookBaseUrl.startsWith(QLatin1Char('/'))
                           ? NavigationAddress(QUrl::fromLocalFile(bookBaseUrl))
                           : bookBaseUrl;
  return address.startsWith(base, Qt::CaseInsensitive);
}

bool SameOrigin(const QString& first, const QString& second) {
  const QUrl a(first);
  const QUrl b(second);
  return a.isValid() && b.isValid() && a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
         a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && a.port() == b.port();
}

}  // namespace ebook
