#include "platform/SelfReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "archive/BookImage.h"
#include "platform/PumpWait.h"
#include "platform/Shell.h"
#include "platform/RunningBook.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

namespace fs = std::filesystem;

constexpr int kRetryMs = 10;

std::string Describe(int error) { return std::generic_category().message(error); }

// Deletes `path`, retrying while that fails; done as soon as the file does not exist. Returns
// an empty string, or the reason for giving up.
std::string DeleteWhenPossible(const std::string& path, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (unlink(path.c_str()) == 0 || errno == ENOENT) return {};
    const int error = errno;
    if (std::chrono::steady_clock::now() >= deadline)
      return "Cannot delete " + path + ": " + Describe(error) + ".";
    PumpWait(kRetryMs);
  }
}

// The replacing copies in `folder`: temp0a0.exe in any letter case, since any case makes a
// program the replacing copy. Most often there is none.
std::vector<std::string> ReplacingCopiesIn(const fs::path& folder) {
  std::vector<std::string> copies;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (UpperAscii(it->path().filename().string()) == UpperAscii(kReplacingCopyName))
      copies.push_back(it->path().string());
  return copies;
}

// Permissions for the new book file: those of the file it replaces, else of the running copy;
// the owner may always read, write and start it.
mode_t BookFileMode(const std::string& book, const std::string& executable) {
  struct stat info {};
  if (stat(book.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    if (stat(executable.c_str(), &info) != 0) info.st_mode = 0755;
  return (info.st_mode & 07777) | S_IRWXU;
}

// Writes `bytes` as a new file at `path` (which must not exist) with `mode`, flushed to the
// disk. Returns an empty string or the failure; a partly written file is removed.
std::string WriteNewFile(const std::string& path, std::string_view bytes, mode_t mode) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRWXU);
  if (fd < 0) return "Cannot create " + path + ": " + Describe(errno) + ".";
  size_t done = 0;
  int error = 0;
  while (done < bytes.size() && error == 0) {
    const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno != EINTR) error = errno;
    if (wrote > 0) done += static_cast<size_t>(wrote);
  }
  if (error == 0 && fchmod(fd, mode) != 0) error = errno;
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  if (error == 0) return {};
  unlink(path.c_str());
  return "Cannot write " + path + ": " + Describe(error) + ".";
}

// The book file `target` names, which must lie in `folder`, the replacing copy's own folder:
// a bare file name, or a path that leads there. Empty when it names anything else.
fs::path BookInFolder(const std::string& target, const fs::path& folder) {
  std::error_code error;
  const fs::path named = fs::path(target);
  const fs::path file = named.filename();
  if (file.empty() || file == "." || file == "..") return {};
  if (!named.has_parent_path()) return folder / file;
  const fs::path parent = fs::weakly_canonical(folder / named.parent_path(), error);
  if (error || parent != fs::weakly_canonical(folder, error) || error) return {};
  return folder / file;
}

// The replacing copy's part: the book file named by `target` becomes a copy of this program.
// The new book is written beside the old one and renamed over it, so that the old book stays
// whole whenever the new one cannot be written completely.
std::string ReplaceBook(const std::string& target, const fs::path& executable,
                        const SelfReplaceOptions& options) {
  if (target.empty())
    return std::string(kReplacingCopyName) + " needs the path of the book file to replace.";
  const fs::path book = BookInFolder(target, executable.parent_path());
  if (book.empty())
    return "Only a book file in the folder of " + std::string(kReplacingCopyName) +
           " can be replaced, not " + target + ".";
  std::error_code error;
  if (fs::equivalent(book, executable, error))
    return "The book file " + book.string() + " cannot be replaced by itself.";
  struct stat existing {};
  if (lstat(book.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
    return "The book file " + book.string() + " cannot be replaced: it is not a plain file.";

  try {
    SetExeImage(BookImage::FromFile(executable.string()));
  } catch (const std::exception& failure) {
    return failure.what();
  }
  const mode_t mode = BookFileMode(book.string(), executable.string());
  const std::string fresh = book.string() + ".new-" + std::to_string(getpid());
  unlink(fresh.c_str());
  if (std::string failure = WriteNewFile(fresh, ExeImage().bytes(), mode); !failure.empty())
    return "The book file cannot be replaced; it is left as it was. " + failure;
  if (rename(fresh.c_str(), book.c_str()) != 0) {
    const int failure = errno;
    unlink(fresh.c_str());
    return "The book file cannot be replaced; it is left as it was. Cannot rename " + fresh +
           " to " + book.string() + ": " + Describe(failure) + ".";
  }

  const bool started = options.relaunch ? options.relaunch(book.string(), kCleanUpArgument)
                                        : SpawnDetached(book.string(), {kCleanUpArgument}, false);
  if (!started) return "The new book " + book.string() + " is in place but cannot be started.";
  // The new book removes this copy too; whichever comes first does it.
  unlink(executable.c_str());
  return {};
}

}  // namespace

SelfReplaceOutcome SelfReplaceStartup(const std::vector<std::string>& arguments,
                                      const std::string& executablePath,
                                      const SelfReplaceOptions& options) {
  SelfReplaceOutcome outcome;
  const fs::path executable = fs::absolute(executablePath).lexically_normal();
  const fs::path folder = executable.parent_path();
  // The executable's folder is the working folder from here on. Failing to enter it changes
  // nothing below: every path here is made absolute first.
  [[maybe_unused]] const int entered = chdir(folder.c_str());
  const std::string first = arguments.empty() ? std::string() : arguments.front();

  if (first == kCleanUpArgument) {
    outcome.cleanedUp = true;
    for (const std::string& copy : ReplacingCopiesIn(folder)) {
      std::string failure = DeleteWhenPossible(copy, options.deletionWaitLimit);
      if (!failure.empty()) outcome.message += (outcome.message.empty() ? "" : "\n") + failure;
    }
  }

  if (UpperAscii(executable.filename().string()) == UpperAscii(kReplacingCopyName)) {
    outcome.quit = true;
    std::string failure = ReplaceBook(first, executable, options);
    if (!failure.empty()) outcome.message += (outcome.message.empty() ? "" : "\n") + failure;
  }
  return outcome;
}

SelfReplaceOutcome SelfReplaceStartup(int argc, const char* const* argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return SelfReplaceStartup(arguments, BookFilePath());
}

}  // namespace ebook
