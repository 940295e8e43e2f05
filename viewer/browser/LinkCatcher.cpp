#include "viewer/browser/LinkCatcher.h"

#include <QFile>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include "viewer/browser/BookAddress.h"

namespace ebook {

namespace {

constexpr char kChannelObject[] = "linkCatcher";

// Runs after qwebchannel.js in the same isolated world.
constexpr char kCatcherSource[] = R"JS(
(function () {
  'use strict';
  if (window.__ebookLinkCatcher) return;
  const isTop = window.top === window;
  let catcher = null;
  const waiting = [];

  function deliver(address, documentAddress, mainFrame) {
    if (catcher) catcher.navigate(address, documentAddress, mainFrame);
    else waiting.push([address, documentAddress, mainFrame]);
  }
  window.__ebookLinkCatcher = deliver;

  if (isTop && typeof qt !== 'undefined' && qt.webChannelTransport) {
    new QWebChannel(qt.webChannelTransport, function (channel) {
      catcher = channel.objects.%1;
      for (const call of waiting.splice(0)) catcher.navigate(call[0], call[1], call[2]);
    });
  }

  // about:blank and srcdoc frames belong to the document that made them.
  function documentAddress() {
    try {
      let frame = window;
      while (frame.location.protocol === 'about:' && frame.parent !== frame) frame = frame.parent;
      return frame.location.href;
    } catch (e) {
      return 'about:blank';
    }
  }

  function report(address) {
    if (isTop) {
      deliver(address, documentAddress(), true);
      return;
    }
    try {
      window.top.__ebookLinkCatcher(address, documentAddress(), false);
    } catch (e) {
      // The top frame is of another origin: nothing to report to.
    }
  }

  if (!window.navigation) return;
  window.navigation.addEventListener('navigate', function (event) {
    const address = event.destination.url;
    if (address.toUpperCase().indexOf('#DO#') >= 0) {
      if (!event.cancelable) return;
      event.preventDefault();
      report(address);
    } else if (event.hashChange) {
      report(address);
    }
  });
})();
)JS";

QString ChannelLibrary() {
  QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

QWebEngineScript CatcherScript() {
  QWebEngineScript script;
  script.setName(QStringLiteral("ebook-link-catcher"));
  script.setSourceCode(ChannelLibrary() +
                       QString::fromUtf8(kCatcherSource).arg(QLatin1String(kChannelObject)));
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setRunsOnSubFrames(true);
  return script;
}

}  // namespace

LinkCatcher::LinkCatcher(QWebEnginePage* page) : QObject(page), channel_(new QWebChannel(this)) {
  channel_->registerObject(QLatin1String(kChannelObject), this);
  page->setWebChannel(channel_, QWebEngineScript::ApplicationWorld);
  page->scripts().insert(CatcherScript());
}

void LinkCatcher::navigate(const QString& address, const QString& documentAddress,
                           bool mainFrame) {
  if (!SameOrigin(address, documentAddress)) return;
  // As the engine wrote it: escapes keep the letter case the page gave them.
  emit caught(address, mainFrame);
}

}  // namespace ebook
