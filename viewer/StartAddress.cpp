#include "viewer/StartAddress.h"

namespace ebook {

QString ChooseStartAddress(const StartAddressInputs& in) {
  QString address = in.baseUrl + in.startPage;
  if (in.bookmarkEnabled && !in.savedBookmark.isEmpty()) address = in.savedBookmark;
  if (!in.commandLinePage.isEmpty()) address = in.baseUrl + in.commandLinePage;
  return address;
}

}  // namespace ebook
