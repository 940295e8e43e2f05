// TBB1: the reader's bookmark, kept per user and per book in the platform's own settings
// store: the registry key HKEY_CURRENT_USER\Software\QUIREL eBook on Windows; elsewhere the
// INI file "QUIREL eBook.conf" in the user's configuration folder. Each book has a group
// named BookmarkKey() holding the string value "bookmark": the full address shown when the
// window closed.

#include <QSettings>
#include <memory>

#include "viewer/AnsiText.h"
#include "viewer/MainWindow.h"
#include "viewer/WebBrowser.h"

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

}  // namespace

QString TBB1::BookmarkKey() const {
  return FromAnsi(BookSettings.BookTitle + BookSettings.BookNumber);
}

void TBB1::doregistry() {
  const auto store = OpenProductKey();
  if (!BookSettings.BookmarkEnabled) return;
  store->beginGroup(BookmarkKey());
  SavedBookmark = store->value(QStringLiteral("bookmark")).toString();
}

void TBB1::bookmarkLAST() {
  const auto store = OpenProductKey();
  store->beginGroup(BookmarkKey());
  store->setValue(QStringLiteral("bookmark"), WebBrowser1->LocationURL());
  store->sync();
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
