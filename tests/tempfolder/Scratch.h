#pragma once
// Helpers shared by the temp-folder tests: a scratch folder removed afterwards, whole-file
// reads and writes, and child processes that report over a pipe.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace ebook::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. The working folder and $TMPDIR are put back as they were.
class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // Makes this folder the one ExtractBookToTemp creates its folders in.
  void UseAsTempFolder();

 private:
  std::filesystem::path path_;
  std::filesystem::path previousWorkingFolder_;
  std::string previousTmpdir_;
  bool hadTmpdir_ = false;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes, unsigned mode = 0644);

// A pipe whose write end children inherit as descriptor kChildLogFd and whose read end the
// test reads lines from; the test's own copy of the write end is closed once the children run,
// so the end of the pipe means every child has ended.
inline constexpr int kChildLogFd = 10;
inline constexpr int kChildHoldFd = 11;

struct Child {
  pid_t pid = -1;
};

// Starts `program` with `arguments` and `extraEnvironment` ("NAME=value") added to this
// process's, with descriptors logWrite and holdRead (when >= 0) given to it as kChildLogFd and
// kChildHoldFd. Fails the test when it cannot start.
Child Start(const std::string& program, const std::vector<std::string>& arguments,
            const std::vector<std::string>& extraEnvironment, int logWrite, int holdRead);
// Waits for the child; its exit status, or -1 when it did not exit normally.
int WaitForExit(Child child);

// Reads one line (without its newline) from `fd`; blocks until it comes. Empty at the end.
std::string ReadLine(int fd);

}  // namespace ebook::testing
