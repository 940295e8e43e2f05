// Loading and indexing a 100 MB book, and reading pages from it, against the way of reading
// without an index: three linear searches of the whole image from its first byte per read.

#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "archive/ArchiveIndex.h"
#include "archive/BookImage.h"
#include "platform/RunningBook.h"
#include "archive/ZLib.h"
#include "bench/common/BenchTable.h"
#include "bench/common/SyntheticBook.h"

namespace {

using namespace ebook;

// The unindexed read: find the start pattern (twice: once to test, once for its place), then
// the end pattern from the first byte of the image, then inflate.
std::string ReadEntryLinearly(std::string_view image, std::string_view name) {
  const std::string start = std::string(kEntryStartMarker) + std::string(name) + kNameSeparator;
  const std::string end = std::string(kEntryEndMarker) + std::string(name);
  auto find = [&](const std::string& pattern) -> const char* {
    return static_cast<const char*>(
        memmem(image.data(), image.size(), pattern.data(), pattern.size()));
  };
  if (!find(start)) return {};
  const char* dataBegin = find(start) + start.size();
  const char* dataEnd = find(end);
  if (!dataEnd || dataEnd < dataBegin) dataEnd = dataBegin;
  return DecompressBytes(std::string_view(dataBegin, dataEnd - dataBegin));
}

// The page nearest 15 KB among the first, middle or last tenth of the book's pages.
size_t PageNear15K(const bench::SyntheticBook& book, size_t from, size_t to) {
  size_t best = from;
  for (size_t i = from; i < to; ++i)
    if (std::abs(static_cast<long>(book.pageSizes[i]) - 15 * 1024) <
        std::abs(static_cast<long>(book.pageSizes[best]) - 15 * 1024))
      best = i;
  return best;
}

}  // namespace

int main() {
  bench::SyntheticBookOptions options;
  options.extraEntries = {{"XSE1.QRLC",
                           "[cSettings]\r\nDATA=1111111111000000000000000000221110\r\n"
                           "home=CH00/PAGE0000.HTML\r\n[cInfo]\r\ntitle=Synthetic book\r\n"}};
  const bench::SyntheticBook book = bench::MakeSyntheticBook(options);
  // The program part is this benchmark's own file, so the archive starts where a real book's does.
  const std::string bytes = bench::EncodeBook(book.entries, bench::ReadFileBytes(ExecutablePath()));
  const std::string path = bench::WriteTempFile(bytes, "ebook-bench-archive.exe");
  printf("# synthetic book: %.1f MB, %zu pages, %zu pictures\n", bytes.size() / 1e6,
         book.pageNames.size(), book.pictureNames.size());

  BookImage image;
  const double load = bench::MedianMs(7, [&] { image = BookImage::FromRunningProgram(path); });
  if (image.index().entries().size() != book.entries.size())
    throw std::runtime_error("the index does not hold every entry");
  bench::PrintRow("archive", "load (map) + index 100 MB book", load, 0, "<= 60 ms");

  const size_t n = book.pageNames.size();
  const std::pair<const char*, size_t> places[] = {
      {"start", PageNear15K(book, 0, n / 10)},
      {"middle", PageNear15K(book, n / 2 - n / 20, n / 2 + n / 20)},
      {"end", PageNear15K(book, n - n / 10, n)}};
  for (const auto& [where, page] : places) {
    const std::string& name = book.pageNames[page];
    if (image.ReadEntry(name) != ReadEntryLinearly(image.bytes(), name))
      throw std::runtime_error("indexed and linear reads differ for " + name);
    const double indexed = bench::MedianMs(201, [&] { (void)image.ReadEntry(name); });
    const double linear =
        bench::MedianMs(21, [&] { (void)ReadEntryLinearly(image.bytes(), name); });
    bench::PrintRow("archive",
                    std::string("ReadEntry ") + std::to_string(book.pageSizes[page] / 1024) +
                        " KB page at the " + where + " (reference: linear search)",
                    indexed, linear, "<= 0.1 ms");
  }
  std::filesystem::remove(path);
  return 0;
}
