// Progress is drawn only on a terminal: the real program under a pseudo-terminal draws it,
// the same program writing into a pipe, or told --quiet, does not.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/Scratch.h"

namespace ebook {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using testing::Scratch;

struct ProgramRun {
  int status = -1;
  std::string said;  // everything the program wrote to its standard error (and output)
};

// Runs ebook-pack with the progress drawn from the first moment, its standard output and error
// on a pseudo-terminal or on a pipe.
ProgramRun RunProgram(const std::vector<std::string>& args, bool terminal) {
  int reader = -1, writer = -1;
  if (terminal) {
    if (openpty(&reader, &writer, nullptr, nullptr, nullptr) != 0)
      throw std::runtime_error("openpty");
  } else {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe");
    reader = fds[0];
    writer = fds[1];
  }
  const pid_t child = fork();
  if (child == 0) {
    dup2(writer, STDOUT_FILENO);
    dup2(writer, STDERR_FILENO);
    close(reader);
    close(writer);
    setenv("EBOOK_PACK_PROGRESS_AFTER_MS", "0", 1);
    std::vector<char*> argv = {const_cast<char*>(EBOOK_PACK_PATH)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(EBOOK_PACK_PATH, argv.data());
    _exit(127);
  }
  close(writer);
  ProgramRun run;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(reader, buffer, sizeof buffer);
    if (got > 0)
      run.said.append(buffer, static_cast<size_t>(got));
    else if (got < 0 && errno == EINTR)
      continue;
    else
      break;  // end of the pipe, or EIO once the terminal's last writer is gone
  }
  close(reader);
  waitpid(child, &run.status, 0);
  return run;
}

TEST(ProgressTest, DrawnOnATerminalOnly) {
  Scratch scratch;
  for (int page = 0; page < 40; ++page)
    scratch.Write("src/p" + std::to_string(page) + ".html", std::string(20000, 'x'));
  const std::string viewer = scratch.Write("viewer", "stand-in viewer program\n").string();
  const std::string book = (scratch / "book").string();
  const std::vector<std::string> build = {
      "build", (scratch / "src").string(), "-o", book, "--viewer", viewer, "--toc", "none"};

  const ProgramRun shown = RunProgram(build, true);
  EXPECT_EQ(shown.status, 0) << shown.said;
  EXPECT_THAT(shown.said, HasSubstr("building ["));
  EXPECT_THAT(shown.said, HasSubstr("/41 files, "));
  EXPECT_THAT(shown.said, HasSubstr("41/41 files, 800 KB of 800 KB"));

  const ProgramRun piped = RunProgram(build, false);
  EXPECT_EQ(piped.status, 0) << piped.said;
  EXPECT_THAT(piped.said, Not(HasSubstr("building [")));
  EXPECT_THAT(piped.said, HasSubstr(" entries, "));

  std::vector<std::string> quiet = build;
  quiet.push_back("--quiet");
  EXPECT_THAT(RunProgram(quiet, true).said, Not(HasSubstr("building [")));

  const ProgramRun checked = RunProgram({"check", book}, true);
  EXPECT_THAT(checked.said, HasSubstr("checking ["));
  EXPECT_THAT(checked.said, HasSubstr("40/40 files"));  // the book files, to the last
  EXPECT_THAT(RunProgram({"check", book}, false).said, Not(HasSubstr("checking [")));
  const ProgramRun folder = RunProgram({"check", (scratch / "src").string()}, true);
  EXPECT_THAT(folder.said, HasSubstr("reading ["));
  EXPECT_THAT(folder.said, HasSubstr("checking ["));
}

}  // namespace
}  // namespace ebook
