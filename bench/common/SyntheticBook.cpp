#include "bench/common/SyntheticBook.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>

#include "archive/BookImage.h"
#include "bench/common/ProseWriter.h"
#include "text/Ascii.h"

namespace ebook::bench {
namespace {

// The rare word in one of three letter cases, so that a search has to fold case.
std::string Cased(const std::string& word, int variant) {
  std::string cased = word;
  if (variant == 1) cased[0] = static_cast<char>(cased[0] - 'a' + 'A');
  if (variant == 2) {
    cased = UpperAscii(cased);
    // é and è in UTF-8 (C3 A9, C3 A8) upper-case to É and È (C3 89, C3 88).
    for (size_t i = 0; i + 1 < cased.size(); ++i)
      if (cased[i] == '\xC3' && (cased[i + 1] == '\xA9' || cased[i + 1] == '\xA8'))
        cased[i + 1] = static_cast<char>(cased[i + 1] - 0x20);
  }
  return cased;
}

// The numbers of the pages that get the rare word, ascending.
std::vector<int> RarePages(std::mt19937& random, const SyntheticBookOptions& options) {
  if (options.rareWord.empty()) return {};
  std::vector<int> rare(options.pages);
  for (int i = 0; i < options.pages; ++i) rare[i] = i;
  std::shuffle(rare.begin(), rare.end(), random);
  rare.resize(std::min(options.pages, std::max(0, options.pagesWithRareWord)));
  std::sort(rare.begin(), rare.end());
  return rare;
}

}  // namespace

SyntheticBook MakeSyntheticBook(const SyntheticBookOptions& options) {
  std::mt19937 random(options.seed);
  ProseWriter writer(random, options.utf8);
  const std::vector<int> rare = RarePages(random, options);

  SyntheticBook book;
  book.entries = options.extraEntries;
  std::set<std::string> generated, withRareWord;
  const double span = static_cast<double>(options.maxPageBytes - options.minPageBytes);
  for (int i = 0; i < options.pages; ++i) {
    const double u = std::uniform_real_distribution<double>(0, 1)(random);
    const size_t size = options.minPageBytes + static_cast<size_t>(u * u * span);
    std::string word;
    if (std::binary_search(rare.begin(), rare.end(), i))
      word = options.mixedCase ? Cased(options.rareWord, i % 3) : options.rareWord;
    char name[40];
    snprintf(name, sizeof name, "CH%02d/PAGE%04d.HTML", i / 100, i);
    book.entries.push_back({name, writer.Page(i, size, word)});
    generated.insert(name);
    if (!word.empty()) withRareWord.insert(name);
    book.pageBytes += book.entries.back().content.size();
  }
  for (int i = 0; i < options.pictures; ++i) {
    char name[40];
    snprintf(name, sizeof name, "PICS/P%04d.JPG", i);
    book.entries.push_back({name, IncompressibleBytes(random, options.pictureBytes)});
    generated.insert(name);
    book.pictureBytes += options.pictureBytes;
  }
  SortInBookOrder(book.entries);

  for (const BookEntry& entry : book.entries) {
    if (generated.contains(entry.name)) {
      const std::string stored = UpperAscii(entry.name);
      if (stored.ends_with(".HTML")) {
        book.pageNames.push_back(stored);
        book.pageSizes.push_back(entry.content.size());
        if (withRareWord.contains(entry.name)) book.rareWordPages.push_back(stored);
      } else {
        book.pictureNames.push_back(stored);
      }
    }
  }
  return book;
}

std::string EncodeBook(const std::vector<BookEntry>& entries, std::string program) {
  // Deflating 170 MB is the slow part of making a book: split it over the cores.
  std::vector<std::string> encoded(entries.size());
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t)
    workers.emplace_back([&, t] {
      for (size_t i = t; i < entries.size(); i += threads)
        encoded[i] = EncodeEntry(entries[i].name, entries[i].content);
    });
  for (auto& worker : workers) worker.join();

  size_t size = program.size();
  for (const std::string& entry : encoded) size += entry.size();
  program.reserve(size);
  for (const std::string& entry : encoded) program += entry;
  return program;
}

std::string IncompressibleBytes(std::mt19937& random, size_t size) {
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string WriteTempFile(const std::string& bytes, const std::string& name) {
  const auto path = std::filesystem::temp_directory_path() / name;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

}  // namespace ebook::bench
