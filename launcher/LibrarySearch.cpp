#include "launcher/LibrarySearch.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <set>

namespace ebook {
namespace {

// Little-endian read of `width` bytes at `offset`; nullopt past the end. The loader's files
// are in the machine's byte order, and every desktop this runs on is little-endian.
std::optional<uint64_t> Read(std::string_view bytes, uint64_t offset, int width) {
  if (offset > bytes.size() || bytes.size() - offset < static_cast<uint64_t>(width))
    return std::nullopt;
  uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[offset + i]);
  return value;
}

// A NUL-terminated string at `offset`, cut at the end of `bytes`; nullopt when it starts past it
// or has no terminator.
std::optional<std::string> StringAt(std::string_view bytes, uint64_t offset) {
  if (offset >= bytes.size()) return std::nullopt;
  const size_t end = bytes.find('\0', offset);
  if (end == std::string_view::npos) return std::nullopt;
  return std::string(bytes.substr(offset, end - offset));
}

// A whole file, mapped for reading; empty when it cannot be.
class MappedFile {
 public:
  explicit MappedFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
      void* mapping = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
      if (mapping != MAP_FAILED) {
        data_ = static_cast<const char*>(mapping);
        size_ = static_cast<size_t>(info.st_size);
      }
    }
    close(fd);
  }
  ~MappedFile() {
    if (data_) munmap(const_cast<char*>(data_), size_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  std::string_view bytes() const { return {data_, size_}; }

 private:
  const char* data_ = nullptr;
  size_t size_ = 0;
};

std::vector<std::string> SplitPath(const char* value) {
  std::vector<std::string> folders;
  if (!value) return folders;
  std::string_view rest(value);
  while (!rest.empty()) {
    const size_t end = std::min(rest.find_first_of(":;"), rest.size());
    // An empty element means the working folder to the loader.
    folders.emplace_back(end == 0 ? "." : std::string(rest.substr(0, end)));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return folders;
}

}  // namespace

std::optional<ElfKind> ElfKindOf(std::string_view image) {
  if (image.size() < 20 || image.substr(0, 4) != "\x7f" "ELF") return std::nullopt;
  ElfKind kind;
  kind.elfClass = static_cast<uint8_t>(image[4]);
  if (kind.elfClass != 1 && kind.elfClass != 2) return std::nullopt;
  kind.machine = static_cast<uint16_t>(*Read(image, 18, 2));
  return kind;
}

std::vector<std::string> NeededLibraries(std::string_view image) {
  const auto kind = ElfKindOf(image);
  if (!kind || image[5] != 1) return {};
  const bool is64 = kind->elfClass == 2;
  const int word = is64 ? 8 : 4;
  const auto phoff = Read(image, is64 ? 32 : 28, word);
  const auto phentsize = Read(image, is64 ? 54 : 42, 2);
  const auto phnum = Read(image, is64 ? 56 : 44, 2);
  if (!phoff || !phentsize || !phnum || *phentsize == 0) return {};

  struct Load { uint64_t offset, vaddr, filesz; };
  std::vector<Load> loads;
  std::optional<uint64_t> dynamicOffset, dynamicSize;
  for (uint64_t i = 0; i < *phnum; ++i) {
    const uint64_t at = *phoff + i * *phentsize;
    const auto type = Read(image, at, 4);
    const auto offset = Read(image, at + (is64 ? 8 : 4), word);
    const auto vaddr = Read(image, at + (is64 ? 16 : 8), word);
    const auto filesz = Read(image, at + (is64 ? 32 : 16), word);
    if (!type || !offset || !vaddr || !filesz) return {};
    if (*type == 1) loads.push_back({*offset, *vaddr, *filesz});
    if (*type == 2) dynamicOffset = offset, dynamicSize = filesz;
  }
  if (!dynamicOffset) return {};

  constexpr uint64_t kNeeded = 1, kStrtab = 5;
  std::vector<uint64_t> needed;
  std::optional<uint64_t> strtab;
  for (uint64_t at = *dynamicOffset; at + 2 * word <= *dynamicOffset + *dynamicSize; at += 2 * word) {
    const auto tag = Read(image, at, word);
    const auto value = Read(image, at + word, word);
    if (!tag || !value || *tag == 0) break;
    if (*tag == kNeeded) needed.push_back(*value);
    if (*tag == kStrtab) strtab = value;
  }
  if (!strtab) return {};
  // The string table is named by its address; the segment that holds it gives its file offset.
  std::optional<uint64_t> tableOffset;
  for (const Load& load : loads)
    if (*strtab >= load.vaddr && *strtab - load.vaddr < load.filesz)
      tableOffset = load.offset + (*strtab - load.vaddr);
  if (!tableOffset) return {};
  std::vector<std::string> names;
  for (uint64_t offset : needed)
    if (auto name = StringAt(image, *tableOffset + offset)) names.push_back(*name);
  return names;
}

std::multimap<std::string, std::string> ReadLoaderCache(std::string_view cache) {
  std::multimap<std::string, std::string> libraries;
  std::string_view rest = cache;
  // The old format's header ("ld.so-1.7.0", the count, 12-byte entries) may come first; the
  // new format then follows at the next multiple of 8.
  constexpr std::string_view kOld = "ld.so-1.7.0";
  if (rest.starts_with(kOld)) {
    const auto count = Read(rest, 12, 4);
    if (!count) return libraries;
    uint64_t skip = 16 + *count * 12;
    skip = (skip + 7) & ~uint64_t{7};
    if (skip > rest.size()) return libraries;
    rest.remove_prefix(skip);
  }
  constexpr std::string_view kNew = "glibc-ld.so.cache1.1";
  if (!rest.starts_with(kNew)) return libraries;
  const auto count = Read(rest, 20, 4);
  if (!count) return libraries;
  constexpr uint64_t kHeader = 48, kEntry = 24;
  for (uint64_t i = 0; i < *count; ++i) {
    const uint64_t at = kHeader + i * kEntry;
    const auto key = Read(rest, at + 4, 4);
    const auto value = Read(rest, at + 8, 4);
    if (!key || !value) break;
    // String offsets count from the start of the new format's header.
    auto name = StringAt(rest, *key);
    auto path = StringAt(rest, *value);
    if (name && path) libraries.emplace(std::move(*name), std::move(*path));
  }
  return libraries;
}

LibrarySearch::Folders LibrarySearch::FromEnvironment() {
  Folders folders;
  folders.libraryPath = SplitPath(getenv("LD_LIBRARY_PATH"));
  return folders;
}

LibrarySearch::LibrarySearch(Folders folders, ElfKind kind)
    : folders_(std::move(folders)), kind_(kind) {}

bool LibrarySearch::Usable(const std::string& path) const {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char header[20];
  const ssize_t got = pread(fd, header, sizeof header, 0);
  close(fd);
  if (got != static_cast<ssize_t>(sizeof header)) return false;
  const auto kind = ElfKindOf(std::string_view(header, sizeof header));
  return kind && *kind == kind_;
}

std::optional<std::string> LibrarySearch::Find(const std::string& soname) {
  // A name with a slash is a path of its own.
  if (soname.find('/') != std::string::npos)
    return Usable(soname) ? std::optional(soname) : std::nullopt;
  for (const std::string& folder : folders_.libraryPath)
    if (const std::string path = folder + "/" + soname; Usable(path)) return path;
  if (!cacheRead_) {
    cacheRead_ = true;
    cache_ = ReadLoaderCache(MappedFile(folders_.cacheFile).bytes());
  }
  for (auto [it, end] = cache_.equal_range(soname); it != end; ++it)
    if (Usable(it->second)) return it->second;
  for (const std::string& folder : folders_.defaults)
    if (const std::string path = folder + "/" + soname; Usable(path)) return path;
  return std::nullopt;
}

std::vector<std::string> LibrarySearch::Missing(std::string_view program, bool transitive) {
  std::vector<std::string> missing;
  std::set<std::string> seen;
  std::vector<std::string> queue = NeededLibraries(program);
  while (!queue.empty()) {
    const std::string name = queue.front();
    queue.erase(queue.begin());
    if (!seen.insert(name).second) continue;
    const auto path = Find(name);
    if (!path) {
      missing.push_back(name);
      continue;
    }
    if (!transitive) continue;
    const MappedFile library(*path);
    for (std::string& next : NeededLibraries(library.bytes())) queue.push_back(std::move(next));
  }
  return missing;
}

}  // namespace ebook
