// A book program for the hand-over tests: it runs the self-replacement start-up, reports on
// descriptor 10 what happened and which book it carries, and unless it is to quit stays alive
// until descriptor 11 reaches its end, standing for a book the reader still has open.

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/SelfReplace.h"
#include "platform/RunningBook.h"

int main(int argc, char** argv) {
  const ebook::SelfReplaceOutcome outcome = ebook::SelfReplaceStartup(argc, argv);
  std::string version = "-";
  if (!outcome.quit) {
    try {
      // The book the hand-over left, or this program's own as a program entry loads it.
      if (ebook::ExeImage().empty()) ebook::LoadExeImage();
      version = ebook::ExeImage().ReadEntry("VERSION.TXT");
    } catch (const std::exception& error) {
      version = error.what();
    }
  }
  std::string message = outcome.message;
  for (char& c : message)
    if (c == '\n') c = '|';
  const std::string line = std::filesystem::path(argv[0]).filename().string() + " " +
                           (argc > 1 ? argv[1] : "-") + " quit=" + (outcome.quit ? "1" : "0") +
                           " cleaned=" + (outcome.cleanedUp ? "1" : "0") + " version=" + version +
                           " message=" + message + "\n";
  [[maybe_unused]] const ssize_t wrote = write(10, line.data(), line.size());

  if (!outcome.quit) {
    char byte = 0;
    for (;;) {
      const ssize_t got = read(11, &byte, 1);
      if (got > 0 || (got < 0 && errno == EINTR)) continue;
      break;
    }
  }
  return 0;
}
