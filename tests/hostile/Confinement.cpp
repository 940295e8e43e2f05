#include "Confinement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/Scratch.h"

namespace ebook::testing {
namespace {

namespace fs = std::filesystem;

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream file(path);
  file << text;
  file.flush();
  return static_cast<bool>(file);
}

// The path of this process's cgroup in the hierarchy that holds `controller` ("" for v2).
std::string OwnCgroup(const std::string& controller) {
  std::ifstream membership("/proc/self/cgroup");
  for (std::string line; std::getline(membership, line);) {
    const size_t first = line.find(':');
    const size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    // The hierarchy's controllers, comma-separated; empty for v2.
    std::stringstream controllers(line.substr(first + 1, second - first - 1));
    bool holds = controller.empty() && controllers.str().empty();
    for (std::string name; !holds && std::getline(controllers, name, ',');) holds = name == controller;
    if (holds) return line.substr(second + 1);
  }
  return {};
}

std::string Decimal(unsigned long value) { return std::to_string(value); }

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment, const fs::path& logBase,
                         const std::string& cgroupProcs) {
  std::vector<std::string> argvStrings{program};
  argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv, envp;
  for (std::string& s : argvStrings) argv.push_back(s.data());
  argv.push_back(nullptr);
  std::vector<std::string> envStrings = environment;
  for (std::string& s : envStrings) envp.push_back(s.data());
  envp.push_back(nullptr);
  const std::string outPath = logBase.string() + ".out";
  const std::string errPath = logBase.string() + ".err";

  ProcessResult result;
  const pid_t pid = fork();
  if (pid < 0) {
    result.err = std::string("fork: ") + std::strerror(errno);
    return result;
  }
  if (pid == 0) {
    // Only async-signal-safe calls from here on.
    if (!cgroupProcs.empty()) {
      const int procs = open(cgroupProcs.c_str(), O_WRONLY);
      if (procs < 0 || write(procs, "0", 1) != 1) _exit(126);  // "0" is the writer itself
      close(procs);
    }
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.out = ReadFile(outPath);
  result.err = ReadFile(errPath);
  return result;
}

MemoryBox::MemoryBox(size_t limitBytes) {
  const std::string name = "/ebook-hostile-" + Decimal(static_cast<unsigned long>(getpid()));
  // The v1 memory controller.
  const std::string v1 = OwnCgroup("memory");
  if (!v1.empty()) {
    std::string folder = "/sys/fs/cgroup/memory" + (v1 == "/" ? std::string() : v1) + name;
    if (mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST) {
      if (WriteText(folder + "/memory.limit_in_bytes", Decimal(limitBytes))) {
        folder_ = folder;
        return;
      }
      rmdir(folder.c_str());
    }
    whyNot_ = "cannot create a v1 memory cgroup under " + v1 + ": " + std::strerror(errno);
  }
  // A v2 hierarchy where this process may create a child with the memory controller.
  const std::string v2 = OwnCgroup("");
  for (const std::string mount : {"/sys/fs/cgroup", "/sys/fs/cgroup/unified"}) {
    if (v2.empty() || !fs::exists(mount + "/cgroup.controllers")) continue;
    const std::string parent = mount + (v2 == "/" ? std::string() : v2);
    WriteText(parent + "/cgroup.subtree_control", "+memory");
    const std::string folder = parent + name;
    if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) continue;
    if (WriteText(folder + "/memory.max", Decimal(limitBytes))) {
      folder_ = folder;
      whyNot_.clear();
      return;
    }
    rmdir(folder.c_str());
  }
  if (whyNot_.empty()) whyNot_ = "no memory cgroup this process may create";
}

MemoryBox::~MemoryBox() {
  if (folder_.empty()) return;
  // The last processes of a run may take a moment to leave.
  for (int attempt = 0; attempt < 100 && rmdir(folder_.c_str()) != 0 && errno == EBUSY; ++attempt)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

size_t MemoryBox::peakUsage() const {
  std::ifstream file(folder_ + "/memory.max_usage_in_bytes");
  size_t peak = 0;
  file >> peak;
  return peak;
}

}  // namespace ebook::testing
