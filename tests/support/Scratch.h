#pragma once
// A fresh folder for one test, and whole-file reads and writes.

#include <filesystem>
#include <string>
#include <string_view>

namespace ebook::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. The working folder and $TMPDIR are put back as they were, and permissions a
// test took away are given back first so that everything goes.
class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view relative) const { return path_ / relative; }

  // Writes `bytes` to the file at `relative`, making its folders as needed; the file's path.
  std::filesystem::path Write(std::string_view relative, std::string_view bytes) const;
  // Makes this folder the one the process's temporary folders are made in ($TMPDIR).
  void UseAsTempFolder();

 private:
  std::filesystem::path path_;
  std::filesystem::path previousWorkingFolder_;
  std::string previousTmpdir_;
  bool hadTmpdir_ = false;
};

// The file's bytes; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
// Replaces the file with `bytes` and gives it `mode`, making its folders as needed.
void WriteFile(const std::filesystem::path& path, std::string_view bytes, unsigned mode = 0644);

}  // namespace ebook::testing
