#include "platform/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace ebook {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

int readEnd = -1;
volatile sig_atomic_t writeEnd = -1;
volatile sig_atomic_t requested = 0;

void OnTerminationSignal(int signal) {
  const int savedErrno = errno;
  requested = 1;
  const char byte = static_cast<char>(signal);
  // A full pipe already holds enough requests to close the window; dropping this one is fine.
  [[maybe_unused]] const ssize_t wrote = write(writeEnd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

int InstallTerminationSignals() {
  if (readEnd >= 0) return readEnd;
  int ends[2];
  if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0)
    throw std::system_error(errno, std::generic_category(), "cannot make the signal pipe");
  readEnd = ends[0];
  writeEnd = ends[1];

  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) sigaction(signal, &action, nullptr);
  return readEnd;
}

bool TerminationRequested() { return requested != 0; }

int TakeTerminationSignal() {
  if (readEnd < 0) return 0;
  int last = 0;
  char buffer[64];
  for (;;) {
    const ssize_t got = read(readEnd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return last;
    last = static_cast<unsigned char>(buffer[got - 1]);
  }
}

void RestoreDefaultTerminationSignals() {
  for (int signal : kSignals) ::signal(signal, SIG_DFL);
}

}  // namespace ebook
