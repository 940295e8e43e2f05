#pragma once
// A seeded synthetic book for benchmarks: HTML pages of word-salad text (compressing about
// three to one, like real pages) and incompressible pictures, after a real program image.

#include <cstdint>
#include <string>
#include <vector>

namespace ebook::bench {

struct SyntheticBookOptions {
  uint32_t seed = 20261208;
  int pages = 5000;
  size_t minPageBytes = 2 * 1024;
  size_t maxPageBytes = 60 * 1024;
  int pictures = 500;
  size_t pictureBytes = 112 * 1024;
  std::string rareWord = "quillwort";  // placed in about `pagesWithRareWord` pages
  int pagesWithRareWord = 50;
};

struct SyntheticBook {
  std::string image;                     // program bytes, then the archive
  std::vector<std::string> pageNames;    // in archive order
  std::vector<size_t> pageSizes;         // uncompressed, parallel to pageNames
  std::vector<std::string> pictureNames;
};

// The program part is the running benchmark's own file, so the archive starts where a real
// book's does.
SyntheticBook MakeSyntheticBook(const SyntheticBookOptions& options = {});

// Writes `bytes` to a fresh file in the temporary folder and returns its path.
std::string WriteTempFile(const std::string& bytes, const std::string& name);

}  // namespace ebook::bench
