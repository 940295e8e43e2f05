#include "Children.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ebook::testing {

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
