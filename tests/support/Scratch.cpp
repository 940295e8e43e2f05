#include "Scratch.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace ebook::testing {

namespace fs = std::filesystem;

Scratch::Scratch() {
  std::string pattern = (fs::temp_directory_path() / "ebook-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
  path_ = pattern;
  previousWorkingFolder_ = fs::current_path();
  if (const char* tmpdir = std::getenv("TMPDIR")) {
    hadTmpdir_ = true;
    previousTmpdir_ = tmpdir;
  }
}

Scratch::~Scratch() {
  std::error_code ignored;
  fs::current_path(previousWorkingFolder_, ignored);
  if (hadTmpdir_)
    setenv("TMPDIR", previousTmpdir_.c_str(), 1);
  else
    unsetenv("TMPDIR");
  for (auto entry = fs::recursive_directory_iterator(path_, ignored);
       entry != fs::recursive_directory_iterator(); entry.increment(ignored)) {
    if (entry->is_directory(ignored) && !entry->is_symlink(ignored))
      fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

fs::path Scratch::Write(std::string_view relative, std::string_view bytes) const {
  const fs::path file = path_ / relative;
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

void Scratch::UseAsTempFolder() { setenv("TMPDIR", path_.c_str(), 1); }

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteFile(const fs::path& path, std::string_view bytes, unsigned mode) {
  std::error_code ignored;
  fs::create_directories(path.parent_path(), ignored);
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  chmod(path.c_str(), mode);
}

}  // namespace ebook::testing
