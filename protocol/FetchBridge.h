#pragma once
// fetch() in book pages. Qt WebEngine 6.4 refuses fetch() for schemes of the program's own
// ("URL scheme is not supported") without ever asking the handler, while XMLHttpRequest
// works. The bridge is a script run in every page and frame before the page's own scripts:
// it wraps window.fetch so that book addresses are loaded through XMLHttpRequest and
// returned as a normal Response; every other address goes to the browser's fetch().

#include <QWebEngineScript>

namespace ebook {

// The script, ready to insert into a profile's or page's script collection.
QWebEngineScript FetchBridgeScript();

}  // namespace ebook
