#pragma once
// The seeded synthetic book the search benchmark runs on: HTML pages of generated prose with
// markup (about three to one under deflate, like real pages), incompressible pictures, and one
// rare word placed in a chosen number of pages in varying letter case.

#include <cstdint>
#include <string>
#include <vector>

namespace ebook::bench {

struct SearchBookOptions {
  uint32_t seed = 4511;
  int pages = 5000;
  size_t minPageBytes = 2 * 1024;
  size_t maxPageBytes = 60 * 1024;
  int pictures = 500;
  size_t pictureBytes = 114 * 1024;
  std::string rareWord = "quetzal";  // the generated prose never holds a "q" or a "z"
  int pagesWithRareWord = 50;
};

struct SearchBook {
  std::string image;                   // program bytes, then the archive
  std::vector<std::string> pageNames;  // stored names, in archive order
  std::vector<std::string> rareWordPages;
  size_t pageBytes = 0;                // all pages, uncompressed
};

// The program part is the benchmark's own executable file, so the archive starts where a real
// book's does.
SearchBook MakeSearchBook(const SearchBookOptions& options = {});

}  // namespace ebook::bench
