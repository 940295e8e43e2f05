#include "SyntheticBooks.h"

#include <filesystem>
#include <fstream>
#include <random>

#include "bench/common/SyntheticBook.h"

namespace ebook::bench {

namespace {

// Settings, start page, style sheet and the start page's picture.
std::vector<BookEntry> StartEntries(uint32_t seed) {
  std::mt19937 random(seed);
  return {{"XSE1.QRLC", "[cSettings]\r\nDATA=1111111111000000000000000000221110\r\nhome=" +
                            std::string(kStartPage) + "\r\n[cInfo]\r\ntitle=Benchmark\r\n"},
          {kStartPage,
           "<html><head><title>Start</title><link rel=stylesheet href=\"style.css\"></head>"
           "<body><h1>Start</h1><img src=\"images/picture.bin\"><p>The first page.</p>"
           "</body></html>"},
          {"style.css", "body { font-family: serif; color: #222; }"},
          {"images/picture.bin", IncompressibleBytes(random, 20000)}};
}

}  // namespace

std::vector<BookEntry> SmallBook() {
  SyntheticBookOptions options;
  options.seed = 7;
  options.pages = 40;
  options.minPageBytes = options.maxPageBytes = 8000;
  options.pictures = 0;
  options.extraEntries = StartEntries(options.seed);
  return MakeSyntheticBook(options).entries;
}

std::vector<BookEntry> LargeBook() {
  SyntheticBookOptions options;
  options.seed = 11;
  options.extraEntries = StartEntries(options.seed);
  return MakeSyntheticBook(options).entries;
}

void WriteBookFile(const std::vector<std::string>& front, const std::vector<BookEntry>& entries,
                   const std::string& path) {
  std::string programs;
  for (const std::string& program : front) programs += ReadFileBytes(program);
  const std::string bytes = EncodeBook(entries, programs);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

}  // namespace ebook::bench
