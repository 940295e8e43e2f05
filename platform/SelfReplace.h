#pragma once
// The self-replacement start-up, which lets one book file be overwritten by a newer book even
// while the old one is open. Whoever delivers the new book saves it as temp0a0.exe in the old
// book's folder and starts it with the old book's path; then:
//   1. temp0a0.exe (any letter case) writes its own image beside the book file (which must be
//      in temp0a0.exe's own folder: a bare name, or a path that leads there) with the old
//      file's permissions and renames it over the old one, so the old book stays whole on any
//      failure; it starts the new book with the one argument "deltemp", deletes its own file
//      and quits without showing anything;
//   2. the book started with "deltemp" (exactly, lower case) deletes temp0a0.exe (in any
//      letter case) from its own folder and then starts as usual.
// On Linux a running program's file can be deleted, so neither deletion has to wait for the
// other process to end. A deletion retries every 10 ms while it fails, ends as soon as the file
// no longer exists, and gives up with a message after a bounded time.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace ebook {

inline constexpr const char* kCleanUpArgument = "deltemp";
inline constexpr const char* kReplacingCopyName = "temp0a0.exe";

struct SelfReplaceOutcome {
  // This process is the replacing copy: it has done its part (or failed at it, see message)
  // and must end without loading or showing the book.
  bool quit = false;
  // The first argument was "deltemp": it asked for the clean-up and is not a page name.
  bool cleanedUp = false;
  // Not empty: something went wrong that the reader should be told about.
  std::string message;
};

struct SelfReplaceOptions {
  // How long a deletion keeps retrying while the file exists but cannot be deleted.
  std::chrono::milliseconds deletionWaitLimit = std::chrono::seconds(10);
  // Starts `program` with the single argument `argument`; false when it cannot start. Empty:
  // SpawnDetached. Tests watch the hand-over through it.
  std::function<bool(const std::string& program, const std::string& argument)> relaunch;
};

// Runs the start-up for a process started as `executablePath` with `arguments` (argv[1] on).
// First makes the executable's folder the working folder, against which a relative book path
// resolves. In the replacing copy ExeImage is loaded from `executablePath`. Deletion waits run
// PumpWait, so an installed message pump keeps running.
SelfReplaceOutcome SelfReplaceStartup(const std::vector<std::string>& arguments,
                                      const std::string& executablePath,
                                      const SelfReplaceOptions& options = {});

// The same for the running process: main's argc and argv, and the book file (BookFilePath).
SelfReplaceOutcome SelfReplaceStartup(int argc, const char* const* argv);

}  // namespace ebook
