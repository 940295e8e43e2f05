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

}  // namespace ebook
