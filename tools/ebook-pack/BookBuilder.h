#pragma once
// Builds a book: the viewer program with the archive of an author's files appended.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"

namespace ebook {

struct BuildOptions {
  std::filesystem::path source;    // the book's top folder
  std::filesystem::path output;    // the book file to write
  std::filesystem::path settings;  // each of these: empty when not given
  std::filesystem::path toc;
  std::filesystem::path splash;
  std::optional<std::string> splashSeconds;
  std::filesystem::path logo;
  std::filesystem::path buttons;
  std::filesystem::path viewer;    // empty: the `ebook` program beside this tool
};

struct BuildResult {
  size_t entries = 0;
  uintmax_t bytes = 0;
  std::vector<std::string> warnings;  // things the book will get wrong, one sentence each
};

// The entries a build of `options` stores, in book order, after the build's checks (throws
// PackError); things the book will get wrong are added to `warnings`. Writes nothing.
std::vector<BookEntry> CollectBookEntries(const BuildOptions& options,
                                          std::vector<std::string>& warnings);

// Writes the book, or throws PackError and leaves `output` as it was.
BuildResult BuildBook(const BuildOptions& options);

// The viewer program used when none is given: `ebook` in this program's folder.
std::filesystem::path DefaultViewerPath();

}  // namespace ebook
