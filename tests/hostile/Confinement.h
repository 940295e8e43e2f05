#pragma once
// Running the viewer and the book tool as real processes for the hostile-book tests: output
// kept in files, the exit status or the signal that ended them, optionally inside a memory
// cgroup of their own so that a memory bomb meets a limit instead of the whole machine's
// memory.

#include <filesystem>
#include <string>
#include <vector>

namespace ebook::testing {

struct ProcessResult {
  int exitCode = -1;  // -1 when ended by a signal
  int signal = 0;
  std::string out;
  std::string err;
};

// Runs `program` with `arguments` and exactly `environment`, stdout and stderr going to
// `logBase`.out / .err (read back into the result). When `cgroupProcs` is not empty the child
// moves itself into that cgroup before it starts the program.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment,
                         const std::filesystem::path& logBase, const std::string& cgroupProcs = {});

// A memory cgroup (v1 memory controller, or v2 where the memory controller can be enabled)
// beneath the one this process runs in, removed again at the end.
class MemoryBox {
 public:
  explicit MemoryBox(size_t limitBytes);
  ~MemoryBox();
  MemoryBox(const MemoryBox&) = delete;
  MemoryBox& operator=(const MemoryBox&) = delete;

  bool ready() const { return !folder_.empty(); }
  const std::string& whyNot() const { return whyNot_; }
  std::string procsFile() const { return folder_ + "/cgroup.procs"; }
  // The most memory its processes used at one time (v1), or 0 when unknown.
  size_t peakUsage() const;

 private:
  std::string folder_;
  std::string whyNot_;
};

}  // namespace ebook::testing
