#include "Progress.h"

#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace ebook {
namespace {

constexpr size_t kBarWidth = 30;
constexpr std::chrono::milliseconds kRedrawEvery{100};

}  // namespace

std::string FormatBytes(uintmax_t bytes) {
  char text[32];
  if (bytes >= 1000 * 1000)
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
  else if (bytes >= 1000)
    std::snprintf(text, sizeof text, "%.0f KB", static_cast<double>(bytes) / 1e3);
  else
    std::snprintf(text, sizeof text, "%ju bytes", bytes);
  return text;
}

std::chrono::milliseconds Progress::DefaultDelay() {
  if (const char* after = std::getenv("EBOOK_PACK_PROGRESS_AFTER_MS"); after && *after)
    return std::chrono::milliseconds(std::strtol(after, nullptr, 10));
  return std::chrono::seconds(1);
}

Progress::Progress(std::ostream* terminal, std::string what, size_t files, uintmax_t bytes,
                   std::chrono::milliseconds after)
    : terminal_(terminal),
      what_(std::move(what)),
      files_(files),
      bytes_(bytes),
      start_(std::chrono::steady_clock::now()),
      after_(after) {}

Progress::~Progress() { Finish(); }

void Progress::Update(size_t filesDone, uintmax_t bytesDone) {
  if (!terminal_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - start_ < after_) return;
  if (drawn_ && now - lastDrawn_ < kRedrawEvery && filesDone < files_) return;
  lastDrawn_ = now;
  const double share =
      bytes_ ? static_cast<double>(bytesDone) / static_cast<double>(bytes_)
             : (files_ ? static_cast<double>(filesDone) / static_cast<double>(files_) : 1.0);
  const size_t filled = std::min(kBarWidth, static_cast<size_t>(share * kBarWidth + 0.5));
  std::string line = what_ + " [" + std::string(filled, '#') +
                     std::string(kBarWidth - filled, '-') + "] " + std::to_string(filesDone) + "/" +
                     std::to_string(files_) + " files, " + FormatBytes(bytesDone) + " of " +
                     FormatBytes(bytes_);
  const size_t width = line.size();
  if (width < width_) line += std::string(width_ - width, ' ');
  width_ = width;
  *terminal_ << '\r' << line << std::flush;
  drawn_ = true;
}

void Progress::Finish() {
  if (!drawn_) return;
  *terminal_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
  drawn_ = false;
}

}  // namespace ebook
