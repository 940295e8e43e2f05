#include "SourceFolder.h"

#include <system_error>

#include "BookFiles.h"
#include "PackError.h"
#include "archive/ArchiveIndex.h"

namespace ebook {
namespace fs = std::filesystem;
namespace {

bool IsSkipped(const fs::path& file, const fs::path& skip) {
  std::error_code error;
  return !skip.empty() && fs::exists(skip, error) && fs::equivalent(file, skip, error);
}

void CheckName(const std::string& name, std::vector<std::string>& warnings) {
  if (name.find(kNameSeparator) != std::string::npos)
    throw PackError("cannot store \"" + name +
                    "\": its name holds the byte 0xB6 (in UTF-8 part of letters such as \xC3\xB6),"
                    " which ends a name in the archive; rename the file");
  if (BrowserEncodesName(name))
    warnings.push_back("\"" + name +
                       "\": a browser percent-encodes this name, so the viewer cannot serve the "
                       "file by its address; use only letters, digits, space and - . _ ~");
}

}  // namespace

bool BrowserEncodesName(std::string_view name) {
  for (const char c : name) {
    const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == ' ' || c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (!safe) return true;
  }
  return false;
}

std::vector<BookEntry> ReadSourceFolder(const fs::path& folder, const fs::path& skip,
                                        std::vector<std::string>& warnings) {
  std::error_code error;
  const fs::file_status status = fs::status(folder, error);
  if (!fs::exists(status)) throw PackError("source folder " + folder.string() + " does not exist");
  if (!fs::is_directory(status))
    throw PackError("source folder " + folder.string() + " is not a folder");

  std::vector<BookEntry> files;
  try {
    for (const fs::directory_entry& item : fs::recursive_directory_iterator(folder)) {
      const fs::path& path = item.path();
      if (item.is_directory()) {
        if (item.is_symlink())
          warnings.push_back(path.string() + ": a link to a folder is not followed");
        continue;
      }
      if (IsSkipped(path, skip)) continue;
      std::string name = path.lexically_relative(folder).generic_string();
      CheckName(name, warnings);
      files.push_back({std::move(name), ReadFileBytes(path)});
    }
  } catch (const fs::filesystem_error& failure) {
    throw PackError("cannot read " + failure.path1().string() + ": " + failure.code().message());
  }
  if (files.empty()) warnings.push_back("source folder " + folder.string() + " holds no files");
  return files;
}

}  // namespace ebook
