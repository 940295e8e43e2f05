#include "protocol/BookUrl.h"

#include <QMimeDatabase>

#include "text/BookText.h"
#include "text/PageEncoding.h"
#include "navigation/EntryLookup.h"

namespace ebook {

std::optional<std::string> EntryNameFromUrl(const QString& url, const QString& baseUrl) {
  // Addresses reach us percent-encoded, so they are plain ASCII; a case-insensitive compare of
  // QString is ASCII-only for ASCII text.
  if (!url.startsWith(baseUrl, Qt::CaseInsensitive)) return std::nullopt;
  return SpaceEscapesDecoded(url.mid(baseUrl.size()).toLatin1().toStdString());
}

namespace {

// The name without a query or fragment, for choosing the type by extension.
QString TypeName(std::string_view entryName) {
  const size_t cut = entryName.find_first_of("?#");
  return QString::fromLatin1(entryName.substr(0, cut));
}

}  // namespace

QByteArray ContentTypeFor(std::string_view entryName, std::string_view bytes) {
  // An empty answer is a missing entry: as HTML it shows as an empty page instead of a
  // download when it is navigated to, and pictures or scripts ignore the type anyway.
  if (bytes.empty()) return "text/html";
  static const QMimeDatabase database;
  const QMimeType type = database.mimeTypeForFileNameAndData(
      TypeName(entryName), QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
  // Character set of text pages. A page that names its own (a <meta charset>, an XML
  // declaration, a byte-order mark) gets none from us: a charset in the Content-Type header
  // would override the page's own. Every other page is sent in the encoding its bytes are in,
  // by the rule the viewer reads all of the book's text with: UTF-8 when they are valid UTF-8
  // holding a non-ASCII byte, else the Windows-1252 books were written in before UTF-8. A
  // browser left to guess garbles one or the other.
  // A page named .htm or .html is HTML whatever its first bytes look like: DocBook writes its
  // pages with an XML declaration, which would make them XHTML, parsed strictly as XML.
  const QString extension = TypeName(entryName).section(QLatin1Char('.'), -1).toLower();
  const bool html = type.inherits(QStringLiteral("text/html")) ||
                    extension == QLatin1String("htm") || extension == QLatin1String("html");
  if (!html && type.name() != QLatin1String("text/plain")) return type.name().toLatin1();
  const QByteArray bare = html ? "text/html" : "text/plain";
  const bool byteOrderMark = bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
                             bytes.starts_with("\xFE\xFF");
  if (html ? DeclaresCharset(bytes) : byteOrderMark) return bare;
  return bare + (BookTextEncoding(bytes) == TextEncoding::kUtf8 ? "; charset=utf-8"
                                                               : "; charset=windows-1252");
}

}  // namespace ebook
