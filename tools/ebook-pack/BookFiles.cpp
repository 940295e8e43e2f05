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
  bytes.reserve(static_cast<size_t>(info.st_size));
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

AtomicFile::AtomicFile(std::filesystem::path path) : path_(std::move(path)) {
  const std::filesystem::path folder =
      path_.has_parent_path() ? path_.parent_path() : std::filesystem::path(".");
  temp_ = (folder / ("." + path_.filename().string() + ".XXXXXX")).string();
  fd_ = mkstemp(temp_.data());
  if (fd_ < 0) Fail("cannot write", path_, "", errno);
}

AtomicFile::~AtomicFile() {
  if (fd_ < 0) return;
  close(fd_);
  unlink(temp_.c_str());
}

void AtomicFile::FailAndRemove(int error) {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  unlink(temp_.c_str());
  Fail("cannot write", path_, "", error);
}

void AtomicFile::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t done = write(fd_, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) FailAndRemove(errno);
    bytes.remove_prefix(static_cast<size_t>(done));
  }
}

void AtomicFile::Commit(std::filesystem::perms mode) {
  // fchmod is not subject to the umask, so the book is executable whatever the user's umask.
  if (fchmod(fd_, static_cast<mode_t>(mode)) != 0) FailAndRemove(errno);
  const int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) {
    const int error = errno;
    unlink(temp_.c_str());
    Fail("cannot write", path_, "", error);
  }
  if (rename(temp_.c_str(), path_.c_str()) != 0) {
    const int error = errno;
    unlink(temp_.c_str());
    Fail("cannot write", path_, "", error);
  }
}

void WriteFileAtomically(const std::filesystem::path& path,
                         const std::vector<std::string_view>& parts,
                         std::filesystem::perms mode) {
  AtomicFile file(path);
  for (std::string_view part : parts) file.Write(part);
  file.Commit(mode);
}

}  // namespace ebook
