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
  if (name.find_first_of("#?") != std::string::npos)
    warnings.push_back("\"" + name +
                       "\": a link must write \"#\" and \"?\" in this name as %23 and %3F, or "
                       "the browser ends the name there");
}

}  // namespace

SourceFiles ReadSourceFolder(const fs::path& folder, const fs::path& skip,
                             std::vector<std::string>& warnings) {
  std::error_code error;
  const fs::file_status status = fs::status(folder, error);
  if (!fs::exists(status)) throw PackError("source folder " + folder.string() + " does not exist");
  if (!fs::is_directory(status))
    throw PackError("source folder " + folder.string() + " is not a folder");
  const std::string top = fs::canonical(folder, error).string() + "/";

  SourceFiles source;
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
      if (item.is_symlink()) {
        const fs::path target = fs::canonical(path, error);
        if (error)
          throw PackError("cannot read " + path.string() + ": a link to " +
                          fs::read_symlink(path, error).string() + ", which does not exist");
        const std::string resolved = target.string();
        if (resolved.compare(0, top.size(), top) != 0)
          source.outsideLinks.push_back({name, resolved, resolved.starts_with("/usr/share/")});
      }
      if (!item.is_regular_file())
        throw PackError("cannot read " + path.string() + ": not a regular file");
      source.files.push_back({std::move(name), {}, path, item.file_size()});
    }
  } catch (const fs::filesystem_error& failure) {
    throw PackError("cannot read " + failure.path1().string() + ": " + failure.code().message());
  }
  if (source.files.empty())
    warnings.push_back("source folder " + folder.string() + " holds no files");
  return source;
}

}  // namespace ebook
