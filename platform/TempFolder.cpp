#include "platform/TempFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>
#include <unordered_set>

#include "archive/BookContent.h"
#include "archive/InternalEntries.h"

namespace ebook {
namespace {

// New numbers are drawn when a folder of the drawn name exists already; after this many
// collisions something else is wrong with the temporary folder.
constexpr int kFolderAttempts = 100;

[[noreturn]] void ThrowFileError(int error, const std::string& what, const std::string& path) {
  throw std::system_error(error, std::generic_category(), what + " " + path);
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The entry name as a path relative to the folder, "/" between levels.
std::string RelativeDiskPath(std::string_view name) {
  std::string path(name);
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

// Creates the missing folder levels of `relative` (a safe entry path, "/" between levels)
// under `base`, which ends with "/". `made` remembers levels already handled in this run, so a
// book of thousands of files in a few folders costs a few mkdir calls.
void MakeFolderLevels(const std::string& relative, const std::string& base,
                      std::unordered_set<std::string>* made) {
  const size_t lastSeparator = relative.rfind('/');
  if (lastSeparator == std::string::npos) return;
  std::vector<std::string> levels;
  SplitString(std::string_view(relative).substr(0, lastSeparator + 1), "/", levels, true);
  std::string current = base;
  for (const std::string& level : levels) {
    if (level.empty()) continue;  // "A//B" names the same folder as "A/B"
    current += level;
    if (!made || made->insert(current).second) mkdir(current.c_str(), 0777);
    current += '/';
  }
}

// Failures to create a file that come from the name, not from the disk: the entry is skipped.
bool IsNameError(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EROFS:
    case EMFILE:
    case ENFILE:
    case ENOMEM:
    case EIO:
      return false;
    default:
      return true;
  }
}

struct NameError {
  int error;
};

void WriteFile(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0 && IsNameError(errno)) throw NameError{errno};
  if (fd < 0) ThrowFileError(errno, "cannot create", path);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) {
      const int error = errno;
      close(fd);
      ThrowFileError(error, "cannot write", path);
    }
    done += static_cast<size_t>(wrote);
  }
  if (close(fd) != 0 && errno != EINTR) ThrowFileError(errno, "cannot write", path);
}

void WriteEntry(const BookContent& book, std::string_view name, const std::string& path) {
  const std::string content = book.ReadEntry(name);
  if (!content.empty()) WriteFile(path, content);
}

// The lock on this run's folder: held until the process ends (the descriptor is closed on exec,
// so programs the viewer starts do not keep it).
int heldFolderLock = -1;

void LockFolder(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return;
  }
  if (heldFolderLock >= 0) close(heldFolderLock);
  heldFolderLock = fd;
}

// Creates the run's folder, readable by this user only, and returns its path with a trailing
// "/". A folder that exists already is never reused: another program or user may own it.
std::string CreateBookFolder() {
  const std::string temp = UserTempFolder();
  std::mt19937 random(static_cast<std::mt19937::result_type>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count() ^ getpid()));
  std::uniform_int_distribution<int> first(0, 29999);
  std::uniform_int_distribution<int> second(0, 19999);
  std::string path;
  for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
    const int a = first(random);
    const int b = second(random);
    path = temp + "TMP" + std::to_string(a) + "-" + std::to_string(b);
    if (mkdir(path.c_str(), 0700) == 0) {
      LockFolder(path);
      return path + "/";
    }
    if (errno != EEXIST) ThrowFileError(errno, "cannot create the folder", path);
  }
  ThrowFileError(EEXIST, "cannot create a new folder like", path);
}

bool IsDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool IsBookFolderName(std::string_view name) {
  if (!name.starts_with("TMP")) return false;
  const size_t minus = name.find('-');
  return minus != std::string_view::npos && IsDigits(name.substr(3, minus - 3)) &&
         IsDigits(name.substr(minus + 1));
}

}  // namespace

std::string UserTempFolder() {
  const char* tmpdir = std::getenv("TMPDIR");
  std::string folder = tmpdir && *tmpdir ? tmpdir : "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string TempFolderFromBaseUrl(std::string_view bookBaseUrl) {
  if (!bookBaseUrl.empty() && IsSeparator(bookBaseUrl.back())) bookBaseUrl.remove_suffix(1);
  return std::string(bookBaseUrl);
}

bool IsSafeEntryName(std::string_view name) {
  if (name.empty() || IsSeparator(name.front())) return false;
  if (name.find_first_of(std::string_view(":\0", 2)) != std::string_view::npos) return false;
  size_t begin = 0;
  while (begin <= name.size()) {
    size_t end = begin;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    if (name.substr(begin, end - begin) == "..") return false;
    begin = end + 1;
  }
  return true;
}

void SplitString(std::string_view text, std::string_view delimiter, std::vector<std::string>& list,
                 bool keepEmpty) {
  list.clear();
  if (delimiter.empty()) {
    if (!text.empty()) list.emplace_back(text);
    return;
  }
  size_t begin = 0;
  for (size_t hit = text.find(delimiter); hit != std::string_view::npos;
       hit = text.find(delimiter, begin)) {
    if (hit > begin || keepEmpty) list.emplace_back(text.substr(begin, hit - begin));
    begin = hit + delimiter.size();
  }
  if (begin < text.size()) list.emplace_back(text.substr(begin));
}

void ForceEntryFolders(std::string_view name, const std::string& base) {
  if (!IsSafeEntryName(name)) return;
  std::string root = base;
  if (root.empty() || root.back() != '/') root += '/';
  MakeFolderLevels(RelativeDiskPath(name), root, nullptr);
}

void ExtractEntry(const BookContent& book, std::string_view name, const std::string& path) {
  try {
    WriteEntry(book, name, path);
  } catch (const NameError& failure) {
    ThrowFileError(failure.error, "cannot create", path);
  }
}

std::vector<SkippedEntry> ExtractBookToTemp(const BookContent& book, std::string& folder,
                                            const ExtractionProgress& progress) {
  folder = CreateBookFolder();
  std::vector<std::string> files;
  for (std::string& name : book.EnumerateEntries())
    if (!IsInternalEntry(name) && IsSafeEntryName(name)) files.push_back(std::move(name));
  std::vector<SkippedEntry> skipped;
  std::unordered_set<std::string> made;
  for (size_t i = 0; i < files.size(); ++i) {
    if (progress) progress(i, files.size());
    const std::string relative = RelativeDiskPath(files[i]);
    MakeFolderLevels(relative, folder, &made);
    try {
      WriteEntry(book, files[i], folder + relative);
    } catch (const NameError& failure) {
      skipped.push_back({files[i], std::generic_category().message(failure.error)});
    }
  }
  if (progress) progress(files.size(), files.size());
  return skipped;
}

std::vector<std::string> RemoveAbandonedTempFolders(std::chrono::seconds minimumAge) {
  namespace fs = std::filesystem;
  std::vector<std::string> removed;
  const std::string temp = UserTempFolder();
  DIR* listing = opendir(temp.c_str());
  if (!listing) return removed;
  const auto now = std::chrono::system_clock::now();
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    if (!IsBookFolderName(name)) continue;
    const std::string path = temp + name;
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())
      continue;
    const auto changed = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
    if (now - changed < minimumAge) continue;
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    // A running viewer holds its folder's lock; a free lock means the run is over.
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      std::error_code error;
      fs::remove_all(path, error);
      if (!error) removed.push_back(path);
    }
    close(fd);
  }
  closedir(listing);
  return removed;
}

}  // namespace ebook
