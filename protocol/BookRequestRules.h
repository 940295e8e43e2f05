#pragma once
// What a book page may ask the network for, in both delivery modes.
//
// A book page's own scripts may connect only to the book itself: an XMLHttpRequest or fetch(),
// a WebSocket, a beacon or ping, an EventSource or a report sent by a book page to any other
// address is blocked, so a hostile book cannot send out what its scripts can see. Everything a
// page's markup loads (pictures, style sheets, scripts, fonts, media, frames) and every
// navigation keeps working, and pages from outside the book the reader went to are not
// touched at all: the rule looks at who asks, not at where the request goes.

#include <QWebEngineUrlRequestInfo>

class QUrl;

namespace ebook {

// True for the kinds of request a script makes by itself to exchange data.
bool IsScriptConnection(QWebEngineUrlRequestInfo::ResourceType type);

// True when a request from a book page (`fromBook`) to `url` must be blocked by the rule
// above; `inBook` says whether `url` is a part of the book. data: and blob: addresses hold
// what the page made itself and are always allowed.
bool BlocksScriptConnection(const QWebEngineUrlRequestInfo& info, bool fromBook, bool inBook);

}  // namespace ebook
