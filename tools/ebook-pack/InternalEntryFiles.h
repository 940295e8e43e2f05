#pragma once
// The book's own entries (archive/InternalEntries.h), made from the files the author names on
// the command line. Each function throws PackError naming the file at fault.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "archive/ArchiveWriter.h"
#include "contents/TocStream.h"

namespace ebook {

// XSE1.QRLC: the settings text with every line ending in CR LF, since the viewer splits the
// text at CR LF pairs only. Warns about an option string shorter than the viewer reads.
BookEntry SettingsEntry(const std::filesystem::path& file, std::vector<std::string>& warnings);

// XSE0.QRLC, the splash picture, and XSEI.QRLC, its time in whole seconds.
std::vector<BookEntry> SplashEntries(const std::filesystem::path& picture,
                                     std::string_view seconds);

// LOGO.QRLC.
BookEntry LogoEntry(const std::filesystem::path& picture);

// B1.QRLC .. B10.QRLC from B1.bmp .. B10.bmp in `folder` (letter case of the file names does
// not matter). A missing picture leaves that button its built-in one.
std::vector<BookEntry> ButtonEntries(const std::filesystem::path& folder,
                                     std::vector<std::string>& warnings);

// XTOC.QRLC compiled from the contents text. `tree` and `lines` (the 1-based line of each
// node) are filled for the caller's checks.
BookEntry ContentsEntry(const std::filesystem::path& file, TocTree& tree, std::vector<int>& lines);

// LF line ends become CR LF; CR LF pairs and lone CRs stay as they are.
std::string ToCrLf(std::string_view text);

}  // namespace ebook
