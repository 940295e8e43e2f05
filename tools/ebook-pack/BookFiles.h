#pragma once
// Whole-file reads and the all-or-nothing write of a finished book.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ebook {

// The whole file. Throws PackError "cannot read PATH: reason"; `role` ("settings file", ...)
// is put in front of the path when given.
std::string ReadFileBytes(const std::filesystem::path& path, std::string_view role = {});

// Writes `parts` one after the other into a temporary file in the destination's folder, sets
// its mode, and renames it over `path`. On any failure the temporary file is removed and an
// existing file at `path` is left as it was. Throws PackError naming `path`.
void WriteFileAtomically(const std::filesystem::path& path,
                         const std::vector<std::string_view>& parts,
                         std::filesystem::perms mode);

// The same in pieces: written into a temporary file beside `path`, renamed over it by Commit.
// Dropped without Commit (a failure on the way), the temporary file is removed and `path` is
// left as it was. Every failure throws PackError naming `path`.
class AtomicFile {
 public:
  explicit AtomicFile(std::filesystem::path path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::string_view bytes);
  void Commit(std::filesystem::perms mode);

 private:
  [[noreturn]] void FailAndRemove(int error);

  std::filesystem::path path_;
  std::string temp_;
  int fd_ = -1;
};

}  // namespace ebook
