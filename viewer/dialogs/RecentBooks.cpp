#include "viewer/dialogs/RecentBooks.h"

#include <QFileInfo>
#include <QSettings>

namespace ebook {
namespace {

const QString kKey = QStringLiteral("books");

QSettings Store() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("QUIREL eBook"),
                   QStringLiteral("recent-books"));
}

}  // namespace

QStringList RecentBooks() {
  QStringList books;
  for (const QString& path : Store().value(kKey).toStringList())
    if (QFileInfo(path).isFile()) books << path;
  return books;
}

void RememberRecentBook(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList books = Store().value(kKey).toStringList();
  books.removeAll(absolute);
  books.prepend(absolute);
  while (books.size() > kRecentBooksKept) books.removeLast();
  Store().setValue(kKey, books);
}

}  // namespace ebook
