#include "viewer/browser/WebBrowser.h"

#include <QAction>
#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "viewer/browser/BookAddress.h"
#include "viewer/browser/BrowserPage.h"

namespace ebook {

WebBrowser::WebBrowser(QWebEngineProfile* profile, QWidget* parent)
    : QWidget(parent), view_(new QWebEngineView(this)), page_(new BrowserPage(profile, this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  view_->setPage(page_);
  setFocusProxy(view_);
  // Pages that do not name their character set are in the book's ANSI code page.
  page_->settings()->setDefaultTextEncoding(QStringLiteral("windows-1252"));

  connect(page_, &QWebEnginePage::loadStarted, this, &WebBrowser::onLoadStarted);
  connect(page_, &QWebEnginePage::loadFinished, this, &WebBrowser::onLoadFinished);
  connect(page_, &QWebEnginePage::urlChanged, this,
          [this](const QUrl& url) { emit LocationChanged(NavigationAddress(url)); });
  connect(page_, &QWebEnginePage::printRequested, this, &WebBrowser::PrintRequested);
  // The Back and Forward actions change their state whenever the history does, also for
  // navigations inside frames.
  connect(page_->action(QWebEnginePage::Forward), &QAction::enabledChanged, this,
          [this](bool enabled) { emit CommandStateChange(CSC_NAVIGATEFORWARD, enabled); });
  connect(page_->action(QWebEnginePage::Back), &QAction::enabledChanged, this,
          [this](bool enabled) { emit CommandStateChange(CSC_NAVIGATEBACK, enabled); });
}

WebBrowser::~WebBrowser() {
  // The page belongs to a profile that may be freed right after this control: let the page go
  // first, while both still exist.
  delete page_;
}

void WebBrowser::Navigate(const QString& URL) {
  busy_ = true;
  page_->load(AddressToUrl(URL));
}

QUrl AddressToUrl(const QString& address) {
  // In temp-folder mode addresses are plain paths of the extracted files ("/tmp/TMP1-2/A.HTML");
  // everything after the first "#" is the fragment, as in any address.
  if (!address.startsWith(QLatin1Char('/'))) return QUrl(address);
  const qsizetype hash = address.indexOf(QLatin1Char('#'));
  QUrl url = QUrl::fromLocalFile(hash < 0 ? address : address.left(hash));
  if (hash >= 0) url.setFragment(address.mid(hash + 1));
  return url;
}

void WebBrowser::GoBack() { page_->triggerAction(QWebEnginePage::Back); }

void WebBrowser::GoForward() { page_->triggerAction(QWebEnginePage::Forward); }

void WebBrowser::Refresh() { page_->triggerAction(QWebEnginePage::Reload); }

void WebBrowser::Stop() { page_->triggerAction(QWebEnginePage::Stop); }

QWebEnginePage* WebBrowser::Document() const { return hasDocument_ ? page_ : nullptr; }

void WebBrowser::Activate() { view_->setFocus(Qt::OtherFocusReason); }

QString WebBrowser::LocationURL() const { return page_->url().toString(QUrl::FullyEncoded); }

void WebBrowser::onLoadStarted() { busy_ = true; }

void WebBrowser::onLoadFinished(bool ok) {
  busy_ = false;
  lastLoadOk_ = ok;
  hasDocument_ = true;
  emit DocumentComplete(LocationURL());
}

}  // namespace ebook
