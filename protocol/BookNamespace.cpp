#include "protocol/BookNamespace.h"

#include <QWebEngineProfile>
#include <QWebEngineScriptCollection>

#include "protocol/BookScheme.h"
#include "protocol/FetchBridge.h"
#include "protocol/FileRequestBlocker.h"
#include "protocol/TeProtocol.h"

namespace ebook {

BookNamespace::BookNamespace(const BookContent& book, QObject* parent)
    : QObject(parent),
      handler_(new TeProtocol(book, this)),
      blocker_(new FileRequestBlocker(this)) {}

BookNamespace::~BookNamespace() { Unregister(); }

void BookNamespace::Register(QWebEngineProfile* profile) {
  if (profile_) return;
  profile_ = profile;
  profile->installUrlSchemeHandler(kBookScheme, handler_);
  blocker_->setActive(true);
  profile->setUrlRequestInterceptor(blocker_);
  profile->scripts()->insert(FetchBridgeScript());
  handler_->setProtocolMode(true);
}

void BookNamespace::Unregister() {
  if (!profile_) return;
  handler_->setProtocolMode(false);
  profile_->removeUrlSchemeHandler(handler_);
  profile_->setUrlRequestInterceptor(nullptr);
  for (const QWebEngineScript& script : profile_->scripts()->find(FetchBridgeScript().name())) {
    profile_->scripts()->remove(script);
  }
  blocker_->setActive(false);
  profile_ = nullptr;
}

}  // namespace ebook
