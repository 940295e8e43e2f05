#include "BookFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "PackError.h"

namespace ebook {
namespace {

std::string Describe(const std::filesystem::path& path, std::string_view role) {
  std::string text(role);
  if (!text.empty()) text += ' ';
  return text + path.string();
}

[[noreturn]] void Fail(std::string_view what, const std::filesystem::path& path,
                       std::string_view role, int error) {
  throw PackError(std::string(what) + " " + Describe(path, role) + ": " + std::strerror(error));
}

// Closes the descriptor on every way out.
struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

}  // namespace

std::string ReadFileBytes(const std::filesystem::path& path, std::string_view role) {
  // Checked before opening: opening a FIFO for reading would wait for a writer.
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) Fail("cannot read", path, role, errno);
  if (S_ISDIR(info.st_mode)) Fail("cannot read", path, role, EISDIR);
  if (!S_ISREG(info.st_mode))
    throw PackError("cannot read " + Describe(path, role) + ": not a regular file");

  Descriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) Fail("cannot read", path, role, errno);
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(file.fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) Fail("cannot read", path, role, errno);
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
  }
  return bytes;
}

void WriteFileAtomically(const std::filesystem::path& path,
                         const std::vector<std::string_view>& parts,
                         std::filesystem::perms mode) {
  const std::filesystem::path folder =
      path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::string temp = (folder / std::string(".").append(path.filename().string()).append(".XXXXXX")).string();
  Descriptor file{mkstemp(temp.data())};
  if (file.fd < 0) Fail("cannot write", path, "", errno);

  auto failAndRemove = [&](int error) {
    close(file.fd);
    file.fd = -1;
    unlink(temp.c_str());
    Fail("cannot write", path, "", error);
  };
  for (std::string_view part : parts) {
    while (!part.empty()) {
      const ssize_t done = write(file.fd, part.data(), part.size());
      if (done < 0 && errno == EINTR) continue;
      if (done < 0) failAndRemove(errno);
      part.remove_prefix(static_cast<size_t>(done));
    }
  }
  // fchmod is not subject to the umask, so the book is executable whatever the user's umask.
  if (fchmod(file.fd, static_cast<mode_t>(mode)) != 0) failAndRemove(errno);
  if (close(file.fd) != 0) {
    file.fd = -1;
    const int error = errno;
    unlink(temp.c_str());
    Fail("cannot write", path, "", error);
  }
  file.fd = -1;
  if (rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temp.c_str());
    Fail("cannot write", path, "", error);
  }
}

}  // namespace ebook
