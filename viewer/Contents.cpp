// TBB1: the table of contents and the auto-advance timer that walks it.

#include "viewer/MainWindow.h"

namespace ebook {

void TBB1::extract_olista() {
  // Loading the contents tree from XTOC.QRLC comes with the table of contents.
}

void TBB1::selectFirstTocNode() {
  // Selecting a node navigates to its page; with no contents loaded there is none, and
  // no page is shown at start-up.
}

void TBB1::listaNext() {
  // Steps to the next contents node; nothing to step through without contents.
}

void TBB1::Timer1Timer() { listaNext(); }

}  // namespace ebook
