#pragma once
// Which address the viewer opens first. Later rules win:
//   1. the start page, relative to the base address;
//   2. the saved bookmark, a full address, when bookmarking is on and one was saved (moved onto
//      this run's folder for a temp-folder book) and it names a page of this book: a bookmark
//      of any other address is passed over, so a start never loads an outside page by itself;
//   3. the page named on the command line, relative to the base address, as written.

#include <QString>

namespace ebook {

struct StartAddressInputs {
  QString baseUrl;
  QString startPage;
  bool bookmarkEnabled = false;
  QString savedBookmark;
  QString commandLinePage;
};

QString ChooseStartAddress(const StartAddressInputs& in);

// True when `bookmark` (after RebaseBookmark) is a page of the book at `baseUrl`: it lies
// inside the book and climbs out of it with no ".." level.
bool IsBookmarkOfBook(const QString& bookmark, const QString& baseUrl);

// The saved bookmark for a book whose base address is `baseUrl`. A bookmark of a temp-folder
// book names a file in the folder of an earlier run, which is gone: it is moved onto this run's
// folder. Every other bookmark is returned unchanged.
QString RebaseBookmark(const QString& savedBookmark, const QString& baseUrl);

}  // namespace ebook
