#pragma once
// The book files of an author's source folder: every file below it, named by its path relative
// to the folder with "/" between folder levels, as the archive stores it.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "archive/ArchiveWriter.h"

namespace ebook {

// Reads every file below `folder` (in no particular order; the writer sorts). `skip`, when it
// names an existing file, is left out: a book written into its own source folder is not
// packed into the next build. Names a browser would percent-encode get a warning each.
// Throws PackError for a missing folder, a file that cannot be read, or a name holding the
// byte 0xB6.
std::vector<BookEntry> ReadSourceFolder(const std::filesystem::path& folder,
                                        const std::filesystem::path& skip,
                                        std::vector<std::string>& warnings);

// True when a browser would percent-encode some byte of `name` in an address, so the viewer
// cannot serve the file by the address a page links it with. The viewer decodes only "%20",
// so the space is safe.
bool BrowserEncodesName(std::string_view name);

}  // namespace ebook
