#include "protocol/BookScheme.h"

#include <QWebEngineUrlScheme>

namespace ebook {

QString ProtocolBaseUrl() { return BookOrigin() + QLatin1Char('/'); }

QString BookOrigin() {
  return QLatin1String(kBookScheme) + QLatin1String("://") + QLatin1String(kBookHost);
}

void RegisterBookScheme() {
  QWebEngineUrlScheme scheme(kBookScheme);
  // Host syntax gives book pages one origin, so relative addresses, storage and
  // same-origin requests behave as on a web site.
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  // Secure + local: book pages are a secure context and the web cannot reach into the book.
  // CORS-enabled: XMLHttpRequest, module scripts and workers may load book files.
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                  QWebEngineUrlScheme::CorsEnabled);
  QWebEngineUrlScheme::registerScheme(scheme);
}

}  // namespace ebook
