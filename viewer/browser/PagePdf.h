#pragma once
// The page shown as a PDF file written by the browser engine itself: vector pages that keep
// their text (it can be selected, searched and read aloud), not pictures of the pages.

#include <QPageLayout>
#include <QPageRanges>
#include <QString>

class QPrinter;
class QWebEnginePage;

namespace ebook {

// Writes the page's PDF to `path` with the page size, orientation and margins of `layout`,
// only the pages of `ranges` (all when empty). Returns when the file is written (the engine
// prints asynchronously; events are processed meanwhile); false when it could not be, or
// when the engine has not answered after `patienceMs` (unlimited when negative).
bool WritePagePdf(QWebEnginePage* page, const QString& path, const QPageLayout& layout,
                  const QPageRanges& ranges = {}, int patienceMs = -1);

// The pages the reader chose in the print dialog; empty for all.
QPageRanges PrinterPageRanges(const QPrinter& printer);

// The layout a PDF gets when no one has chosen one: the default printer's paper and margins.
QPageLayout DefaultPageLayout();

}  // namespace ebook
