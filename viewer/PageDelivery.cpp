// TBB1: how pages reach the browser control. Protocol mode serves the book from memory under
// the book scheme; temp-folder mode extracts it to a temporary folder and shows files.

#include "protocol/BookNamespace.h"
#include "protocol/BookScheme.h"
#include "viewer/MainWindow.h"

namespace ebook {

void TBB1::registerNamespace() {
  namespace_->Register(profile_);
  BookBaseUrl = ProtocolBaseUrl();
  ProtocolMode = true;
}

void TBB1::unregisterNamespace() { namespace_->Unregister(); }

bool TBB1::extractBookToTemp() {
  // Extraction to a temporary folder is not available yet: such books are served from
  // memory like every other book.
  return false;
}

void TBB1::deleteTempBook() {
  // Nothing was extracted (see extractBookToTemp).
}

}  // namespace ebook
