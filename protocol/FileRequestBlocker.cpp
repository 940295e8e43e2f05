#include "protocol/FileRequestBlocker.h"

namespace ebook {

FileRequestBlocker::FileRequestBlocker(QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent) {}

void FileRequestBlocker::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (active_ && info.requestUrl().scheme() == QLatin1String("file")) info.block(true);
}

}  // namespace ebook
