// TBB1: how pages reach the browser control. Protocol mode serves the book from memory under
// the book scheme; temp-folder mode extracts it to a temporary folder and shows files.

#include <QWebEngineProfile>

#include "archive/Shell.h"
#include "archive/TempFolder.h"
#include "protocol/BookNamespace.h"
#include "protocol/BookScheme.h"
#include "protocol/TempFolderRequests.h"
#include "viewer/MainWindow.h"

namespace ebook {

void TBB1::registerNamespace() {
  namespace_->Register(profile_);
  BookBaseUrl = ProtocolBaseUrl();
  ProtocolMode = true;
}

void TBB1::unregisterNamespace() { namespace_->Unregister(); }

bool TBB1::extractBookToTemp() {
  std::string folder;
  try {
    ExtractBookToTemp(folder);
  } catch (...) {
    // What was written stays until exit, when the folder is deleted like any other.
    tempFolder_ = folder;
    throw;
  }
  tempFolder_ = folder;
  BookBaseUrl = QString::fromStdString(folder);
  profile_->setUrlRequestInterceptor(new TempFolderRequests(BookBaseUrl, profile_));
  return true;
}

void TBB1::deleteTempBook() {
  if (tempFolder_.empty()) return;
  // The result is not looked at: a folder that cannot be deleted stays behind.
  DeleteTempFolder(TempFolderFromBaseUrl(tempFolder_));
  tempFolder_.clear();
}

}  // namespace ebook
