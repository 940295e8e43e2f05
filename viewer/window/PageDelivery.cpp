// TBB1: how pages reach the browser control. Protocol mode serves the book from memory under
// the book scheme; temp-folder mode extracts it to a temporary folder and shows files.

#include <algorithm>
#include <climits>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QWebEngineProfile>
#include <memory>
#include <stdexcept>

#include "platform/Shell.h"
#include "platform/TempFolder.h"
#include "platform/TerminationSignals.h"
#include "archive/BookImage.h"
#include "protocol/BookNamespace.h"
#include "protocol/BookScheme.h"
#include "protocol/TempFolderRequests.h"
#include "viewer/widgets/AnsiText.h"
#include "viewer/window/MainWindow.h"
#include "viewer/dialogs/ReaderMessages.h"

namespace ebook {

void TBB1::registerNamespace() {
  namespace_->Register(profile_);
  BookBaseUrl = ProtocolBaseUrl();
  ProtocolMode = true;
}

void TBB1::unregisterNamespace() { namespace_->Unregister(); }

namespace {

// Names of entries that could not be written, told once, a few by name.
QString SkippedEntriesText(const std::vector<SkippedEntry>& skipped) {
  constexpr size_t kNamed = 5;
  QString text = QStringLiteral("%1 of the book's files could not be written under their names "
                                "and are left out:")
                     .arg(skipped.size());
  for (size_t i = 0; i < skipped.size() && i < kNamed; ++i)
    text += QStringLiteral("\n%1 (%2)")
                .arg(FromBookText(skipped[i].name.substr(0, 200)),
                     QString::fromLocal8Bit(skipped[i].reason.c_str()));
  if (skipped.size() > kNamed) text += QStringLiteral("\n…");
  return text;
}

// Extraction progress: a small window once extracting has taken a second, the event loop kept
// running so that the window is drawn and a request to end is seen; such a request stops the
// extraction (the folder is deleted with the window).
class ExtractionWatch {
 public:
  void operator()(size_t done, size_t total) {
    if (TerminationRequested()) throw std::runtime_error("The viewer was asked to end.");
    if (!clock_.isValid()) clock_.start();
    if (clock_.elapsed() < kShowAfterMs) return;
    if (!dialog_) {
      dialog_ = std::make_unique<QProgressDialog>();
      dialog_->setWindowTitle(QStringLiteral("eBook"));
      dialog_->setCancelButton(nullptr);
      dialog_->setMinimumDuration(0);
      dialog_->setRange(0, static_cast<int>(std::min<size_t>(total, INT_MAX)));
      dialog_->show();
    }
    if (sinceRedraw_.isValid() && sinceRedraw_.elapsed() < kRedrawMs && done < total) return;
    sinceRedraw_.start();
    dialog_->setLabelText(QStringLiteral("Preparing the book: %1 of %2 files").arg(done).arg(total));
    dialog_->setValue(static_cast<int>(std::min<size_t>(done, INT_MAX)));
    QCoreApplication::processEvents();
  }

 private:
  static constexpr qint64 kShowAfterMs = 1000;
  static constexpr qint64 kRedrawMs = 50;
  QElapsedTimer clock_;
  QElapsedTimer sinceRedraw_;
  std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace

bool TBB1::extractBookToTemp() {
  // Folders that killed runs left behind go first; this run's folder is locked while it lives.
  RemoveAbandonedTempFolders();
  std::string folder;
  std::vector<SkippedEntry> skipped;
  try {
    auto watch = std::make_shared<ExtractionWatch>();
    skipped = ExtractBookToTemp(book_, folder,
                                [watch](size_t done, size_t total) { (*watch)(done, total); });
  } catch (...) {
    // What was written stays until exit, when the folder is deleted like any other.
    tempFolder_ = folder;
    throw;
  }
  tempFolder_ = folder;
  BookBaseUrl = QString::fromStdString(folder);
  profile_->setUrlRequestInterceptor(new TempFolderRequests(BookBaseUrl, profile_));
  if (!skipped.empty()) ShowMessage(SkippedEntriesText(skipped));
  return true;
}

void TBB1::deleteTempBook() {
  if (tempFolder_.empty()) return;
  // The result is not looked at: a folder that cannot be deleted stays behind.
  DeleteTempFolder(TempFolderFromBaseUrl(tempFolder_));
  tempFolder_.clear();
}

}  // namespace ebook
