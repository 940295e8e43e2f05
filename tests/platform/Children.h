#pragma once
// Child processes for the platform tests: started with extra descriptors, reporting over a pipe.

#include <sys/types.h>

#include <string>
#include <vector>

namespace ebook::testing {

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
