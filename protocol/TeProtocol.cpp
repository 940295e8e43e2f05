#include "protocol/TeProtocol.h"

#include <QWebEngineUrlRequestJob>
#include <optional>

#include "archive/BookContent.h"
#include "archive/ZLib.h"
#include "navigation/EntryLookup.h"
#include "protocol/BookScheme.h"
#include "protocol/BookUrl.h"
#include "protocol/EntryBody.h"

namespace ebook {
namespace {

QString Escaped(const std::string& text) { return QString::fromLatin1(text).toHtmlEscaped(); }

// What a page that cannot be inflated shows instead of the browser's "site can't be reached",
// which would send the reader looking for a network fault. Other entries (pictures, style
// sheets, scripts) fail their request as before.
std::optional<std::string> DamagedPageNotice(const std::string& name, const char* error) {
  const QString upper = QString::fromLatin1(name).section(QLatin1Char('?'), 0, 0)
                            .section(QLatin1Char('#'), 0, 0).toUpper();
  const QString text = QStringLiteral("This page of the book is damaged and cannot be shown.");
  if (upper.endsWith(QLatin1String(".TXT")))
    return (text + QStringLiteral("\n%1: %2\n").arg(QString::fromLatin1(name), QLatin1String(error)))
        .toStdString();
  if (!upper.endsWith(QLatin1String(".HTM")) && !upper.endsWith(QLatin1String(".HTML"))) return std::nullopt;
  return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Damaged page</title>"
                        "</head><body><h1>%1</h1><p>%2: %3</p></body></html>")
      .arg(text, Escaped(name), Escaped(error))
      .toStdString();
}

}  // namespace

TeProtocol::TeProtocol(const BookContent& book, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), book_(book) {}

void TeProtocol::requestStarted(QWebEngineUrlRequestJob* job) {
  // The viewer's own loads have no initiator; book pages have the book's origin. Anything
  // else (an opaque origin from a sandboxed frame, say) gets nothing from the book.
  const QUrl initiator = job->initiator();
  if (!initiator.isEmpty() && initiator.toString(QUrl::FullyEncoded) != BookOrigin()) {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
    return;
  }
  const std::optional<std::string> name =
      EntryNameFromUrl(job->requestUrl().toString(QUrl::FullyEncoded), ProtocolBaseUrl());
  if (!name) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  std::string bytes;
  // The stored name the address stands for: exactly as asked, or as a web server would read it
  // (without its fragment or query, "//" and "./" collapsed, ...).
  std::optional<std::string> stored;
  if (protocolMode_) {
    stored = ResolveEntryName(book_, *name);
    try {
      if (stored) bytes = book_.ReadEntry(*stored);
    } catch (const EZDecompressionError& error) {
      std::optional<std::string> notice = DamagedPageNotice(*stored, error.what());
      if (!notice) {
        job->fail(QWebEngineUrlRequestJob::RequestFailed);
        return;
      }
      bytes = std::move(*notice);
    }
  }
  const QByteArray type = ContentTypeFor(stored.value_or(*name), bytes);
  // The engine reads the device after we return, and may slice it for range requests:
  // it must live as long as the job.
  job->reply(type, new EntryBody(std::move(bytes), job));
}

}  // namespace ebook
