#pragma once
// The book files of an author's source folder: every file below it, named by its path relative
// to the folder with "/" between folder levels, as the archive stores it.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "BookWriter.h"

namespace ebook {

// A file of the folder that is a symbolic link to a file outside the folder.
struct OutsideLink {
  std::string name;    // as stored
  std::string target;  // the file it leads to, resolved
  // Under /usr/share: the system's shared files, which installed documentation links to
  // instead of carrying its own copy (_static/jquery.js -> /usr/share/javascript/...).
  bool shared = false;
};

struct SourceFiles {
  std::vector<PackEntry> files;  // every file, links to outside included; content not yet read
  std::vector<OutsideLink> outsideLinks;
};

// Lists every file below `folder` (in no particular order; the writer sorts). `skip`, when it
// names an existing file, is left out: a book written into its own source folder is not
// packed into the next build. Links to folders are not followed (a warning each); links to
// files are listed with their target when it lies outside the folder, for the caller to
// refuse or accept. Names holding "#" or "?" get a warning each. Throws PackError
// for a missing folder, a file that cannot be read, a link that leads nowhere, or a name
// holding the byte 0xB6.
SourceFiles ReadSourceFolder(const std::filesystem::path& folder, const std::filesystem::path& skip,
                             std::vector<std::string>& warnings);

}  // namespace ebook
