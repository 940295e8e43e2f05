#pragma once
// A progress line on the terminal for work that takes longer than a second: a bar, files done
// of all, bytes done of all. It draws nothing when it is not enabled (not a terminal, --quiet)
// and nothing before the first second has passed, so short runs and logs stay clean.

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace ebook {

class Progress {
 public:
  // `after` is how long the work runs before the line appears.
  Progress(std::ostream* terminal, std::string what, size_t files, uintmax_t bytes,
           std::chrono::milliseconds after = DefaultDelay());
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Called from one thread only.
  void Update(size_t filesDone, uintmax_t bytesDone);
  // The work turned out to be this much (before the first Update).
  void SetTotals(size_t files, uintmax_t bytes) {
    files_ = files;
    bytes_ = bytes;
  }
  // Clears the line, once it was drawn.
  void Finish();

  // One second, or EBOOK_PACK_PROGRESS_AFTER_MS when set (the tests draw at once).
  static std::chrono::milliseconds DefaultDelay();

 private:
  std::ostream* terminal_;
  std::string what_;
  size_t files_;
  uintmax_t bytes_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDrawn_;
  std::chrono::milliseconds after_;
  bool drawn_ = false;
  size_t width_ = 0;  // of the line drawn last, to clear it
};

// "1.5 MB", "312 KB", "12 bytes".
std::string FormatBytes(uintmax_t bytes);

}  // namespace ebook
