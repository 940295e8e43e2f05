#pragma once
// The book files the installed viewer opened last, newest first, kept per user in
// "QUIREL eBook/recent-books.ini" of the user's configuration folder (apart from the
// bookmark store, whose groups are named by book titles).

#include <QString>
#include <QStringList>

namespace ebook {

inline constexpr int kRecentBooksKept = 8;

// The list, files that no longer exist left out.
QStringList RecentBooks();
// Puts `path` (made absolute) first; the oldest beyond kRecentBooksKept are forgotten.
void RememberRecentBook(const QString& path);

}  // namespace ebook
