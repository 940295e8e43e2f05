#include "SyntheticBooks.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "archive/ArchiveWriter.h"

namespace ebook::bench {

namespace {

std::string Settings() {
  return "[cSettings]\r\nDATA=1111111111000000000000000000221110\r\nhome=" +
         std::string(kStartPage) + "\r\n[cInfo]\r\ntitle=Benchmark\r\n";
}

std::string StartPage() {
  return "<html><head><title>Start</title><link rel=stylesheet href=\"style.css\"></head>"
         "<body><h1>Start</h1><img src=\"images/picture.bin\"><p>The first page.</p>"
         "</body></html>";
}

std::string Page(std::mt19937& random, size_t size) {
  static const char* const words[] = {"book", "page", "reader", "chapter", "viewer", "archive",
                                      "contents", "search", "window", "picture"};
  std::string page = "<html><head><title>Page</title></head><body><p>";
  while (page.size() < size) {
    page += words[random() % 10];
    page += (random() % 12 == 0) ? "</p><p>" : " ";
  }
  return page + "</p></body></html>";
}

std::string Noise(std::mt19937& random, size_t size) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

std::string Archive(std::vector<BookEntry> entries) {
  SortInBookOrder(entries);
  return EncodeArchive(entries);
}

}  // namespace

std::string SmallBookArchive() {
  std::mt19937 random(7);
  std::vector<BookEntry> entries = {{"XSE1.QRLC", Settings()},
                                    {kStartPage, StartPage()},
                                    {"style.css", "body { font-family: serif; color: #222; }"},
                                    {"images/picture.bin", Noise(random, 20000)}};
  for (int i = 0; i < 40; ++i) {
    entries.push_back({"pages/page" + std::to_string(i) + ".htm", Page(random, 8000)});
  }
  return Archive(entries);
}

std::string LargeBookArchive() {
  std::mt19937 random(11);
  std::vector<BookEntry> entries = {{"XSE1.QRLC", Settings()},
                                    {"style.css", "body { font-family: serif; color: #222; }"},
                                    {"images/picture.bin", Noise(random, 20000)}};
  for (int i = 0; i < 5000; ++i) {
    entries.push_back({"pages/page" + std::to_string(i) + ".htm",
                       Page(random, 2048 + random() % (61 * 1024))});
  }
  for (int i = 0; i < 500; ++i) {
    entries.push_back({"pictures/p" + std::to_string(i) + ".jpg", Noise(random, 113 * 1024)});
  }
  // Top-folder files come last in book order: the start page is the final entry.
  entries.push_back({kStartPage, StartPage()});
  return Archive(entries);
}

void WriteBookFile(const std::string& viewer, const std::string& archive, const std::string& path) {
  std::ifstream in(viewer, std::ios::binary);
  std::string program((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << program << archive;
  out.close();
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

}  // namespace ebook::bench
