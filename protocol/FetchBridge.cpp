#include "protocol/FetchBridge.h"

#include "protocol/BookScheme.h"

namespace ebook {

namespace {

// %1 is the book scheme with its colon, as URL.protocol reports it.
constexpr char kBridgeSource[] = R"JS(
(function () {
  'use strict';
  if (typeof window.fetch !== 'function' || window.fetch.__bookBridge) return;
  const browserFetch = window.fetch;
  const bookProtocol = '%1';

  function parseHeaders(text) {
    const headers = new Headers();
    for (const line of text.trim().split(/[\r\n]+/)) {
      const at = line.indexOf(':');
      if (at > 0) {
        try { headers.append(line.slice(0, at).trim(), line.slice(at + 1).trim()); } catch (e) {}
      }
    }
    return headers;
  }

  function bookFetch(input, init) {
    const request = (input instanceof Request) ? input : null;
    let url;
    try {
      url = new URL(request ? request.url : String(input), document.baseURI);
    } catch (e) {
      return browserFetch.apply(this, arguments);
    }
    if (url.protocol !== bookProtocol) return browserFetch.apply(this, arguments);
    init = init || {};
    const method = String(init.method || (request ? request.method : 'GET')).toUpperCase();
    const signal = init.signal || (request ? request.signal : null);
    return new Promise(function (resolve, reject) {
      if (signal && signal.aborted) {
        reject(new DOMException('The operation was aborted.', 'AbortError'));
        return;
      }
      const xhr = new XMLHttpRequest();
      xhr.open(method, url.href, true);
      xhr.responseType = 'arraybuffer';
      const headers = new Headers(init.headers || (request ? request.headers : undefined));
      headers.forEach(function (value, name) { xhr.setRequestHeader(name, value); });
      xhr.onload = function () {
        const status = (xhr.status >= 200 && xhr.status <= 599) ? xhr.status : 200;
        const empty = method === 'HEAD' || status === 204 || status === 205 || status === 304;
        const response = new Response(empty ? null : xhr.response, {
          status: status,
          statusText: xhr.statusText,
          headers: parseHeaders(xhr.getAllResponseHeaders()),
        });
        Object.defineProperty(response, 'url', { value: url.href });
        resolve(response);
      };
      xhr.onerror = function () { reject(new TypeError('Failed to fetch')); };
      xhr.onabort = function () {
        reject(new DOMException('The operation was aborted.', 'AbortError'));
      };
      if (signal) signal.addEventListener('abort', function () { xhr.abort(); });
      xhr.send(init.body !== undefined ? init.body : null);
    });
  }
  bookFetch.__bookBridge = true;
  window.fetch = bookFetch;
})();
)JS";

}  // namespace

QWebEngineScript FetchBridgeScript() {
  QWebEngineScript script;
  script.setName(QStringLiteral("ebook-fetch-bridge"));
  script.setSourceCode(QString::fromUtf8(kBridgeSource).arg(QLatin1String(kBookScheme) + ':'));
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(true);
  return script;
}

}  // namespace ebook
