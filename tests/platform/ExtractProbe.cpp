// A viewer in temp-folder mode, without the window: it extracts the book named by
// $EBOOK_PROBE_BOOK, reports the folder on descriptor 10, and when asked to end by a signal
// deletes the folder and reports that before it exits.

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "archive/BookImage.h"
#include "platform/Shell.h"
#include "platform/TempFolder.h"
#include "platform/TerminationSignals.h"

namespace {

void Report(const std::string& line) {
  const std::string text = line + "\n";
  [[maybe_unused]] const ssize_t wrote = write(10, text.data(), text.size());
}

}  // namespace

int main() {
  const int signals = ebook::InstallTerminationSignals();
  const ebook::BookImage book = ebook::BookImage::FromFile(std::getenv("EBOOK_PROBE_BOOK"));
  std::string folder;
  ebook::ExtractBookToTemp(book, folder);
  Report(folder);

  pollfd watch{signals, POLLIN, 0};
  while (poll(&watch, 1, -1) < 0 && errno == EINTR) {
  }
  const int signal = ebook::TakeTerminationSignal();
  const bool deleted = ebook::DeleteTempFolder(ebook::TempFolderFromBaseUrl(folder));
  Report("closed " + std::to_string(signal) + (deleted ? " deleted" : " kept"));
  return 0;
}
