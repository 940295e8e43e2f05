#include "launcher/ViewerStart.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace ebook {
namespace {

pid_t viewerChild = 0;

void ForwardSignal(int signal) {
  if (viewerChild > 0) kill(viewerChild, signal);
}

std::vector<std::string> ChildEnvironment(const ViewerStart& start) {
  std::vector<std::string> added = start.environment;
  added.push_back(std::string(kBookFileVariable) + "=" + start.bookFile);
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string_view pair(*entry);
    const std::string_view name = pair.substr(0, pair.find('='));
    bool replaced = false;
    for (const std::string& add : added)
      if (std::string_view(add).substr(0, add.find('=')) == name) replaced = true;
    if (!replaced) environment.emplace_back(pair);
  }
  environment.insert(environment.end(), added.begin(), added.end());
  return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Forks; the child runs `exec` (which only returns on failure), the parent waits and returns
// the status to end with.
template <typename Exec>
int RunChild(const ViewerStart& start, Exec exec) {
  std::vector<std::string> arguments = start.arguments;
  std::vector<std::string> environment = ChildEnvironment(start);
  std::vector<char*> argv = Pointers(arguments);
  std::vector<char*> envp = Pointers(environment);
  int failure[2];
  if (pipe2(failure, O_CLOEXEC) != 0) return -1;
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    close(failure[0]);
    exec(argv.data(), envp.data());
    const int error = errno;
    (void)!write(failure[1], &error, sizeof error);
    _exit(127);
  }
  close(failure[1]);
  viewerChild = child;
  // Keys typed at a terminal reach the viewer itself (same process group); a termination
  // request sent to the book's process is passed on, so the viewer closes as it should.
  signal(SIGINT, SIG_IGN);
  signal(SIGQUIT, SIG_IGN);
  struct sigaction forward {};
  forward.sa_handler = ForwardSignal;
  sigemptyset(&forward.sa_mask);
  sigaction(SIGTERM, &forward, nullptr);
  sigaction(SIGHUP, &forward, nullptr);

  int error = 0;
  ssize_t got;
  while ((got = read(failure[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  close(failure[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (got == static_cast<ssize_t>(sizeof error)) {
    errno = error;
    return -1;
  }
  if (WIFSIGNALED(status)) {
    signal(WTERMSIG(status), SIG_DFL);
    raise(WTERMSIG(status));
    return 128 + WTERMSIG(status);
  }
  return WEXITSTATUS(status);
}

}  // namespace

int RunViewerImage(std::string_view image, const ViewerStart& start) {
  const int fd = memfd_create("ebook", MFD_CLOEXEC);
  if (fd < 0) return -1;
  size_t done = 0;
  while (done < image.size()) {
    const ssize_t wrote = write(fd, image.data() + done, image.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      close(fd);
      return -1;
    }
    done += static_cast<size_t>(wrote);
  }
  const int status = RunChild(start, [fd](char** argv, char** envp) { fexecve(fd, argv, envp); });
  const int error = errno;
  close(fd);
  errno = error;
  return status;
}

int RunViewerFile(const std::string& program, const ViewerStart& start) {
  return RunChild(start, [&program](char** argv, char** envp) { execve(program.c_str(), argv, envp); });
}

}  // namespace ebook
