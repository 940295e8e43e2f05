#include "Scratch.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

extern char** environ;

namespace ebook::testing {

namespace fs = std::filesystem;

Scratch::Scratch() {
  std::string pattern = (fs::temp_directory_path() / "ebook-tempfolder-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
  path_ = pattern;
  previousWorkingFolder_ = fs::current_path();
  if (const char* tmpdir = std::getenv("TMPDIR")) {
    hadTmpdir_ = true;
    previousTmpdir_ = tmpdir;
  }
}

Scratch::~Scratch() {
  std::error_code error;
  fs::current_path(previousWorkingFolder_, error);
  if (hadTmpdir_)
    setenv("TMPDIR", previousTmpdir_.c_str(), 1);
  else
    unsetenv("TMPDIR");
  fs::remove_all(path_, error);
}

void Scratch::UseAsTempFolder() { setenv("TMPDIR", path_.c_str(), 1); }

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteFile(const fs::path& path, const std::string& bytes, unsigned mode) {
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
  }
  chmod(path.c_str(), mode);
}

Child Start(const std::string& program, const std::vector<std::string>& arguments,
            const std::vector<std::string>& extraEnvironment, int logWrite, int holdRead) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry; ++entry) env.emplace_back(*entry);
  env.insert(env.end(), extraEnvironment.begin(), extraEnvironment.end());
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::vector<std::string> args{program};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (logWrite >= 0) posix_spawn_file_actions_adddup2(&actions, logWrite, kChildLogFd);
  if (holdRead >= 0) posix_spawn_file_actions_adddup2(&actions, holdRead, kChildHoldFd);
  Child child;
  const int result =
      posix_spawn(&child.pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  EXPECT_EQ(result, 0) << "cannot start " << program;
  return child;
}

int WaitForExit(Child child) {
  int status = 0;
  if (waitpid(child.pid, &status, 0) != child.pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadLine(int fd) {
  std::string line;
  char c = 0;
  while (read(fd, &c, 1) == 1) {
    if (c == '\n') return line;
    line += c;
  }
  return line;
}

}  // namespace ebook::testing
