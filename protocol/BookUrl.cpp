#include "protocol/BookUrl.h"

#include <QMimeDatabase>

namespace ebook {

std::optional<std::string> EntryNameFromUrl(const QString& url, const QString& baseUrl) {
  // Addresses reach us percent-encoded, so they are plain ASCII; a case-insensitive compare of
  // QString is ASCII-only for ASCII text.
  if (!url.startsWith(baseUrl, Qt::CaseInsensitive)) return std::nullopt;
  std::string name = url.mid(baseUrl.size()).toLatin1().toStdString();
  std::string decoded;
  decoded.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    if (name.compare(i, 3, "%20") == 0) {
      decoded += ' ';
      i += 2;
    } else {
      decoded += name[i];
    }
  }
  return decoded;
}

namespace {

bool HasByteOrderMark(const QByteArray& bytes) {
  return bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") ||
         bytes.startsWith("\xFE\xFF");
}

// The name without a query or fragment, for choosing the type by extension.
QString TypeName(std::string_view entryName) {
  const size_t cut = entryName.find_first_of("?#");
  return QString::fromLatin1(entryName.substr(0, cut));
}

}  // namespace

bool DeclaresCharset(const QByteArray& html) {
  if (HasByteOrderMark(html)) return true;
  const QByteArray head = html.left(1024).toLower();
  for (qsizetype at = head.indexOf("<meta"); at >= 0; at = head.indexOf("<meta", at + 5)) {
    const qsizetype end = head.indexOf('>', at);
    const QByteArray tag = head.mid(at, end < 0 ? -1 : end - at);
    if (tag.contains("charset")) return true;
  }
  return false;
}

QByteArray ContentTypeFor(std::string_view entryName, const QByteArray& bytes) {
  // An empty answer is a missing entry: as HTML it shows as an empty page instead of a
  // download when it is navigated to, and pictures or scripts ignore the type anyway.
  if (bytes.isEmpty()) return "text/html";
  static const QMimeDatabase database;
  const QMimeType type = database.mimeTypeForFileNameAndData(TypeName(entryName), bytes);
  // Character set of text pages. Books are written in the author's 8-bit ANSI code page
  // (Windows-1252), usually without saying so; a browser left to guess would read such pages
  // as something else and garble every accented letter. But a page that names its own
  // character set (a <meta charset> or a byte order mark) must be read as it says, and a
  // charset in the Content-Type header would override the page's <meta>. So: a page that
  // declares its encoding gets no charset from us; every other text page is Windows-1252.
  if (type.inherits(QStringLiteral("text/html"))) {
    return DeclaresCharset(bytes) ? "text/html" : "text/html; charset=windows-1252";
  }
  if (type.name() == QLatin1String("text/plain")) {
    return HasByteOrderMark(bytes) ? "text/plain" : "text/plain; charset=windows-1252";
  }
  return type.name().toLatin1();
}

}  // namespace ebook
