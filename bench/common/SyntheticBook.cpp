#include "bench/common/SyntheticBook.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "archive/ArchiveWriter.h"
#include "archive/SimExe.h"

namespace ebook::bench {
namespace {

const char* const kWords[] = {
    "the",     "book",   "page",   "chapter", "river",   "light",   "garden", "window", "stone",
    "morning", "letter", "quiet",  "market",  "harbour", "winter",  "lantern", "bridge", "orchard",
    "copper",  "meadow", "signal", "thread",  "valley",  "compass", "ember",  "willow", "granite",
    "of",      "and",    "to",     "in",      "a",       "was",     "with",   "under",  "over"};

std::string Page(std::mt19937& random, size_t size, int number, bool rare, const std::string& word) {
  std::string page = "<html><head><title>Page " + std::to_string(number) +
                     "</title><link rel=\"stylesheet\" href=\"../style.css\"></head><body>\n<p>";
  std::uniform_int_distribution<size_t> pick(0, std::size(kWords) - 1);
  const size_t rareAt = rare ? std::uniform_int_distribution<size_t>(page.size(), size)(random) : 0;
  while (page.size() < size) {
    if (rare && page.size() >= rareAt) {
      page += word + " ";
      rare = false;
    }
    page += kWords[pick(random)];
    page += (random() % 12 == 0) ? ".</p>\n<p>" : " ";
  }
  return page + "</p></body></html>\n";
}

}  // namespace

SyntheticBook MakeSyntheticBook(const SyntheticBookOptions& options) {
  std::mt19937 random(options.seed);
  std::vector<BookEntry> entries;
  entries.push_back({"XSE1.QRLC", "[cSettings]\r\nDATA=1111111111000000000000000000221110\r\n"
                                  "home=CH0000/PAGE0000.HTML\r\n[cInfo]\r\ntitle=Synthetic book\r\n"});
  std::uniform_int_distribution<size_t> sizes(options.minPageBytes, options.maxPageBytes);
  const int rareEvery = std::max(1, options.pages / std::max(1, options.pagesWithRareWord));
  for (int i = 0; i < options.pages; ++i) {
    char name[40];
    snprintf(name, sizeof name, "CH%04d/PAGE%04d.HTML", i / 100, i);
    entries.push_back({name, Page(random, sizes(random), i, i % rareEvery == rareEvery / 2,
                                  options.rareWord)});
  }
  for (int i = 0; i < options.pictures; ++i) {
    std::string picture(options.pictureBytes, '\0');
    for (char& c : picture) c = static_cast<char>(random());
    char name[40];
    snprintf(name, sizeof name, "PICS/P%04d.JPG", i);
    entries.push_back({name, std::move(picture)});
  }
  SortInBookOrder(entries);

  // Deflating 160 MB is the slow part of making the book: split it over the cores.
  std::vector<std::string> encoded(entries.size());
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t)
    workers.emplace_back([&, t] {
      for (size_t i = t; i < entries.size(); i += threads)
        encoded[i] = EncodeEntry(entries[i].name, entries[i].content);
    });
  for (auto& worker : workers) worker.join();

  SyntheticBook book;
  std::ifstream self(ExecutablePath(), std::ios::binary);
  book.image.assign(std::istreambuf_iterator<char>(self), {});
  for (size_t i = 0; i < entries.size(); ++i) {
    book.image += encoded[i];
    const std::string upper = UpperAscii(entries[i].name);
    if (upper.ends_with(".HTML")) {
      book.pageNames.push_back(upper);
      book.pageSizes.push_back(entries[i].content.size());
    } else if (upper.ends_with(".JPG")) {
      book.pictureNames.push_back(upper);
    }
  }
  return book;
}

std::string WriteTempFile(const std::string& bytes, const std::string& name) {
  const auto path = std::filesystem::temp_directory_path() / name;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

}  // namespace ebook::bench
