#pragma once
// The viewer's command line:
//
//   BOOK [--screenshot PNG] [--quit-after-load] [PAGE] [--print-to-pdf PDF]
//   ebook [--screenshot PNG] [--quit-after-load] [BOOKFILE [PAGE]] [--print-to-pdf PDF]
//
//   BOOKFILE           (the installed viewer, which carries no book) a book file to show
//                      as if it had been started itself; see BookChoice.h.
//   PAGE               a page of the book to open, relative to the book's base address; it
//                      beats the bookmark and the start page.
//   --screenshot PNG   renders the window once, after the first page has loaded, into PNG,
//                      prints the PNG's path on stdout and exits with 0. Messages the book
//                      would show in boxes go to stderr instead. Chosen by itself when there
//                      is no display (none of DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM set):
//                      the window is then drawn offscreen into a file in the temporary folder.
//   --quit-after-load  prints "loaded <address>" on stdout once the first page has loaded
//                      and exits with 0 (start-up timing).
//   --print-to-pdf PDF writes the page that start-up shows into PDF, as the print preview's
//                      "Save as PDF…" does (the default printer's paper and margins), prints
//                      the PDF's path on stdout and exits with 0, 1 when it cannot be written.
//                      No window comes on the screen (it is drawn offscreen, whatever
//                      display there is); messages go to stderr as with --screenshot.
//
// Qt's own options (-platform, ...) are taken out by QApplication before PAGE is looked at.

#include <QString>
#include <QStringList>

namespace ebook {

struct StartupOptions {
  QString page;
  QString screenshotPath;  // empty: no screenshot
  QString printToPdfPath;  // empty: no PDF
  bool quitAfterLoad = false;
  bool noDisplay = false;  // the screenshot was chosen because there is no display
};

// Options from the raw arguments (argv[0] excluded), before QApplication exists: only the
// options, not PAGE. File paths are made absolute against the present working folder.
StartupOptions ParseStartupOptions(const QStringList& arguments);

// PAGE: the first argument that is not one of our options, from QApplication's arguments
// (argv[0] excluded).
QString FirstPageArgument(const QStringList& arguments);

// The raw arguments without the viewer's own options (and the file names they take).
QStringList WithoutViewerOptions(const QStringList& arguments);

// True when no display is reachable and no Qt platform was chosen.
bool NoDisplay();

}  // namespace ebook
