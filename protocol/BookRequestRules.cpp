#include "protocol/BookRequestRules.h"

#include <QUrl>

namespace ebook {

bool IsScriptConnection(QWebEngineUrlRequestInfo::ResourceType type) {
  switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeXhr:
    case QWebEngineUrlRequestInfo::ResourceTypeWebSocket:
    case QWebEngineUrlRequestInfo::ResourceTypePing:
    case QWebEngineUrlRequestInfo::ResourceTypeCspReport:
    case QWebEngineUrlRequestInfo::ResourceTypePrefetch:
    case QWebEngineUrlRequestInfo::ResourceTypeNavigationPreloadMainFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeNavigationPreloadSubFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeUnknown:
      return true;
    default:
      return false;
  }
}

bool BlocksScriptConnection(const QWebEngineUrlRequestInfo& info, bool fromBook, bool inBook) {
  if (!fromBook || inBook || !IsScriptConnection(info.resourceType())) return false;
  const QString scheme = info.requestUrl().scheme();
  return scheme != QLatin1String("data") && scheme != QLatin1String("blob");
}

}  // namespace ebook
