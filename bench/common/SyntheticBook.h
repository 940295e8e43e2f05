#pragma once
// The seeded synthetic books every benchmark runs on: HTML pages of generated prose (see
// ProseWriter), incompressible pictures, an optional rare word planted in chosen pages, and
// whatever entries the caller adds (settings, a start page, a style sheet).
//
// Page k is stored as CH<k / 100>/PAGE<k>.HTML and picture k as PICS/P<k>.JPG, numbers
// zero-padded to two and four digits.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"

namespace ebook::bench {

struct SyntheticBookOptions {
  uint32_t seed = 4511;
  int pages = 5000;
  // Page sizes spread from min to max with many short pages and few long ones: the mean lies
  // near a third of the range.
  size_t minPageBytes = 2 * 1024;
  size_t maxPageBytes = 60 * 1024;
  int pictures = 500;
  size_t pictureBytes = 114 * 1024;
  // None when empty; the prose never holds a "q" or a "z". In UTF-8 books it may hold the
  // accented letters é and è, which upper-case to É and È.
  std::string rareWord;
  int pagesWithRareWord = 50;
  bool mixedCase = false;  // the rare word as written, Capitalised or UPPER, page by page
  bool utf8 = false;       // prose with accented letters in UTF-8 (see ProseWriter)
  std::vector<BookEntry> extraEntries;
};

struct SyntheticBook {
  std::vector<BookEntry> entries;          // in book order, the extra entries included
  std::vector<std::string> pageNames;      // stored names, in archive order
  std::vector<size_t> pageSizes;           // uncompressed, parallel to pageNames
  std::vector<std::string> pictureNames;   // stored names, in archive order
  std::vector<std::string> rareWordPages;  // stored names, in archive order
  size_t pageBytes = 0;                    // all pages, uncompressed
  size_t pictureBytes = 0;                 // all pictures
};

SyntheticBook MakeSyntheticBook(const SyntheticBookOptions& options = {});

// `program` followed by the archive of `entries` in the order given, deflated on every core.
std::string EncodeBook(const std::vector<BookEntry>& entries, std::string program = {});

// `size` bytes that deflate cannot shrink, like a JPEG's.
std::string IncompressibleBytes(std::mt19937& random, size_t size);

// The whole file, or empty bytes when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Writes `bytes` to a fresh file in the temporary folder and returns its path.
std::string WriteTempFile(const std::string& bytes, const std::string& name);

}  // namespace ebook::bench
