#pragma once
// Builds a book: the launcher and the viewer program (or the packed runtime of a portable book)
// with the archive of an author's files appended.

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
  std::filesystem::path viewer;    // the one program to put before the archive; empty: the
                                   // launcher and the viewer (or runtime) of BookImageFolder()
  bool portable = false;           // the packed runtime instead of the viewer program
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

// Where the build puts the program images books are made from, stripped of symbols and debug
// information: ebook-launch, ebook-viewer and the portable runtime, runtime.frame. It is
// ../lib/quirel-ebook beside this program's folder, in the build tree as where installed.
std::filesystem::path BookImageFolder();

}  // namespace ebook
