#pragma once
// Books for the start-up benchmark, written as complete book files (viewer program + archive).
// Both open with the same start page, style sheet and picture, so that only the book's size
// differs between them.

#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"

namespace ebook::bench {

// The start page every benchmark book opens with.
inline constexpr char kStartPage[] = "start.htm";

// A small book like a typical one: the start page with its style sheet and picture, and 40
// pages of 8 KB.
std::vector<BookEntry> SmallBook();

// About 100 MB: the benchmarks' synthetic book of 5,000 pages of 2-60 KB and 500 incompressible
// pictures, with the start page among the top-folder files at the archive's end.
std::vector<BookEntry> LargeBook();

// Writes the programs `front` names (concatenated: the launcher and the viewer, or the viewer
// alone) followed by the archive of `entries` to `path`, executable.
void WriteBookFile(const std::vector<std::string>& front, const std::vector<BookEntry>& entries,
                   const std::string& path);

}  // namespace ebook::bench
