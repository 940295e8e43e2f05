#pragma once
// Which address the viewer opens first. Later rules win:
//   1. the start page, relative to the base address;
//   2. the saved bookmark, a full address, when bookmarking is on and one was saved;
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

}  // namespace ebook
