#include "protocol/FileRequestBlocker.h"

#include "protocol/BookRequestRules.h"
#include "protocol/BookScheme.h"

namespace ebook {

FileRequestBlocker::FileRequestBlocker(QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent) {}

void FileRequestBlocker::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (!active_) return;
  const QUrl& url = info.requestUrl();
  if (url.scheme() == QLatin1String("file")) {
    info.block(true);
    return;
  }
  const bool fromBook = info.initiator().scheme() == QLatin1String(kBookScheme) ||
                        (info.initiator().isEmpty() &&
                         info.firstPartyUrl().scheme() == QLatin1String(kBookScheme));
  const bool inBook = url.scheme() == QLatin1String(kBookScheme);
  if (BlocksScriptConnection(info, fromBook, inBook)) info.block(true);
}

}  // namespace ebook
