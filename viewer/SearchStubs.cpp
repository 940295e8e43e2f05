// TBB1: the Search button until the search panel has its own file, which replaces this one.

#include "viewer/MainWindow.h"

namespace ebook {

void TBB1::SpeedButton6Click() {
  // Opens the search side panel: search shown, contents hidden, splitter and side panel shown.
  TocPanel->hide();
  SearchPanel->show();
  Panel2->show();
}

}  // namespace ebook
