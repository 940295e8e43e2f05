#include "protocol/TeProtocol.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>

#include "archive/SimExe.h"
#include "protocol/BookScheme.h"
#include "protocol/BookUrl.h"

namespace ebook {

TeProtocol::TeProtocol(QObject* parent) : QWebEngineUrlSchemeHandler(parent) {}

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
  QByteArray bytes;
  if (protocolMode_) {
    try {
      const std::string content = ReadEntry(*name);
      bytes = QByteArray(content.data(), static_cast<qsizetype>(content.size()));
    } catch (const EZDecompressionError&) {
      job->fail(QWebEngineUrlRequestJob::RequestFailed);
      return;
    }
  }
  // The engine reads the device after we return, and may slice it for range requests:
  // it must live as long as the job.
  auto* body = new QBuffer(job);
  body->setData(bytes);
  body->open(QIODevice::ReadOnly);
  job->reply(ContentTypeFor(*name, bytes), body);
}

}  // namespace ebook
