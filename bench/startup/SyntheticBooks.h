#pragma once
// Books for the start-up benchmark, written as complete book files (viewer program + archive).

#include <string>

namespace ebook::bench {

// The start page every benchmark book opens with.
inline constexpr char kStartPage[] = "start.htm";

// A small book like a typical one: a start page with a style sheet and a picture, and a few
// dozen pages.
std::string SmallBookArchive();

// About 100 MB: 5,000 pages of 2-63 KB and 500 incompressible pictures; the start page is the
// archive's last entry.
std::string LargeBookArchive();

// Writes viewer program + archive to `path`, executable.
void WriteBookFile(const std::string& viewer, const std::string& archive, const std::string& path);

}  // namespace ebook::bench
