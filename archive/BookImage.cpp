#include "archive/BookImage.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "archive/ImageLayout.h"
#include "archive/ZLib.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

[[noreturn]] void ThrowFileError(int error, const std::string& what, const std::string& path) {
  throw std::system_error(error, std::generic_category(), what + " " + path);
}

// Closes the descriptor on every path out of FromFile.
struct FileDescriptor {
  int fd;
  ~FileDescriptor() {
    if (fd >= 0) close(fd);
  }
};

}  // namespace

static size_t OpenRegularFile(FileDescriptor& file, const std::string& path) {
  file.fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file.fd < 0) ThrowFileError(errno, "cannot open", path);
  struct stat info {};
  if (fstat(file.fd, &info) != 0) ThrowFileError(errno, "cannot read", path);
  if (!S_ISREG(info.st_mode)) ThrowFileError(EISDIR, "not a file:", path);
  return static_cast<size_t>(info.st_size);
}

BookImage BookImage::FromRunningProgram(const std::string& path) {
  FileDescriptor file{-1};
  const size_t size = OpenRegularFile(file, path);
  if (size == 0) return FromBytes({});
  void* mapping = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.fd, 0);
  if (mapping == MAP_FAILED) return FromFile(path);
  BookImage image;
  image.size_ = size;
  image.data_ = std::shared_ptr<const char>(static_cast<const char*>(mapping),
                                            [size](const char* p) { munmap(const_cast<char*>(p), size); });
  image.Build();
  return image;
}

BookImage BookImage::FromFile(const std::string& path) {
  FileDescriptor file{-1};
  BookImage image;
  image.size_ = OpenRegularFile(file, path);
  char* buffer = new char[image.size_ == 0 ? 1 : image.size_];
  image.data_ = std::shared_ptr<const char>(buffer, std::default_delete<char[]>());
  size_t done = 0;
  while (done < image.size_) {
    const ssize_t got = read(file.fd, buffer + done, image.size_ - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ThrowFileError(errno, "cannot read", path);
    if (got == 0) ThrowFileError(EIO, "file shorter than its size:", path);
    done += static_cast<size_t>(got);
  }
  image.Build();
  return image;
}

BookImage BookImage::FromBytes(std::string bytes) {
  BookImage image;
  image.size_ = bytes.size();
  char* buffer = new char[image.size_ == 0 ? 1 : image.size_];
  memcpy(buffer, bytes.data(), bytes.size());
  image.data_ = std::shared_ptr<const char>(buffer, std::default_delete<char[]>());
  image.Build();
  return image;
}

void BookImage::Build() {
  archiveStart_ = ArchiveStartOffset(bytes());
  index_ = ArchiveIndex(bytes(), archiveStart_);
}

const IndexedEntry* BookImage::FindEntry(std::string_view name) const {
  return index_.Find(UpperAscii(name));
}

std::string BookImage::ReadEntry(std::string_view name) const {
  const IndexedEntry* entry = FindEntry(name);
  if (!entry) return {};
  return DecompressBytes(bytes().substr(entry->dataBegin, entry->dataEnd - entry->dataBegin));
}

std::vector<std::string> BookImage::EnumerateEntries() const {
  auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  std::vector<std::string> names;
  names.reserve(index_.entries().size());
  for (const IndexedEntry& entry : index_.entries()) {
    // A marker among the last ten bytes of the image never starts an entry.
    if (size_ - entry.start < 11) continue;
    std::string_view name = entry.name;
    while (!name.empty() && isBlank(name.front())) name.remove_prefix(1);
    while (!name.empty() && isBlank(name.back())) name.remove_suffix(1);
    names.emplace_back(name);
  }
  return names;
}

}  // namespace ebook
