// TBB1: the reader's bookmark, kept per user and per book in the platform's own settings
// store: the registry key HKEY_CURRENT_USER\Software\QUIREL eBook on Windows; elsewhere the
// INI file "QUIREL eBook.conf" in the user's configuration folder. Each book has a group
// named BookmarkKey() holding the string value "bookmark": the full address of the last page of
// the book the reader saw (never an outside page), and "book": the identity of the book that
// saved it, so that another book of the same title and number cannot choose where this one
// opens. A bookmark saved without an identity (by an earlier viewer) is still used.

#include <QSettings>
#include <memory>

#include "archive/BookImage.h"
#include "viewer/widgets/AnsiText.h"
#include "viewer/browser/BookAddress.h"
#include "viewer/window/MainWindow.h"
#include "viewer/browser/WebBrowser.h"

namespace ebook {

namespace {

std::unique_ptr<QSettings> OpenProductKey() {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\QUIREL eBook"),
                                     QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QStringLiteral("QUIREL eBook"), QString());
#endif
}

const QString kIdentityValue = QStringLiteral("book");

}  // namespace

// FNV-1a over the book's entry names in archive order: the same for every copy and every run
// of a book, different for a book with other files.
QString BookIdentity(const BookContent& book) {
  uint64_t hash = 14695981039346656037ull;
  for (const std::string& name : book.EnumerateEntries()) {
    for (const char c : name + '\n') {
      hash ^= static_cast<unsigned char>(c);
      hash *= 1099511628211ull;
    }
  }
  return QString::number(hash, 16).rightJustified(16, QLatin1Char('0'));
}

QString TBB1::BookmarkKey() const {
  return FromAnsi(BookSettings.BookTitle + BookSettings.BookNumber);
}

void TBB1::doregistry() {
  const auto store = OpenProductKey();
  if (!BookSettings.BookmarkEnabled) return;
  store->beginGroup(BookmarkKey());
  const QString identity = store->value(kIdentityValue).toString();
  if (!identity.isEmpty() && identity != BookIdentity(book_)) return;
  SavedBookmark = store->value(QStringLiteral("bookmark")).toString();
}

void TBB1::bookmarkLAST() {
  // Before any page of the book has finished loading (a page that closes the book while it
  // loads), the page being shown counts, when it is one of the book's.
  QString page = lastBookPage_;
  if (page.isEmpty() && WebBrowser1 && IsBookAddress(WebBrowser1->LocationURL(), BookBaseUrl))
    page = WebBrowser1->LocationURL();
  // A reader who saw no page of the book keeps the bookmark saved before.
  if (page.isEmpty()) return;
  const auto store = OpenProductKey();
  store->beginGroup(BookmarkKey());
  store->setValue(QStringLiteral("bookmark"), page);
  store->setValue(kIdentityValue, BookIdentity(book_));
  store->sync();
}

void TBB1::noteShownPage(const QString& URL, bool loaded) {
  if (!loaded || !IsBookAddress(URL, BookBaseUrl)) return;
  lastBookPage_ = URL;
}

// The reader's own preferences for the book (its zoom) live beside its bookmark, kept whether or
// not the book asks for bookmarks.
void TBB1::restoreReaderPreferences() {
  const auto store = OpenProductKey();
  store->beginGroup(BookmarkKey());
  restoreZoom(*store);
}

void TBB1::saveReaderPreferences() {
  const auto store = OpenProductKey();
  store->beginGroup(BookmarkKey());
  saveZoom(*store);
  store->sync();
}

void TBB1::set_offline(bool offline) {
  // Windows keeps a process-wide "connected" state for its internet functions that a viewer
  // once had to switch on. Qt WebEngine has no such state on any platform: nothing to do.
  (void)offline;
}

}  // namespace ebook
