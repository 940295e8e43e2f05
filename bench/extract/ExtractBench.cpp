// Extraction of a 100 MB book to the temporary folder against inflating the same entries
// without writing them, measured side by side in one run. The book is synthetic and seeded:
// 5,000 HTML pages of 2 to 60 KB of word salad (compressing about as well as real pages) and
// 500 incompressible pictures that bring the archive to about 100 MB.
//
// Prints a readable summary, then one row per measure:
//   benchmark <TAB> measure <TAB> figure ms <TAB> reference ms <TAB> ratio <TAB> target

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"
#include "archive/BookImage.h"
#include "archive/Shell.h"
#include "archive/SimExe.h"
#include "archive/TempFolder.h"

namespace {

using ebook::BookEntry;

constexpr size_t kTargetArchiveBytes = 100u << 20;
constexpr int kPages = 5000;
constexpr int kPictures = 500;
constexpr int kRuns = 5;

std::vector<std::string> Vocabulary(std::mt19937& random) {
  std::uniform_int_distribution<int> length(2, 11);
  std::uniform_int_distribution<int> letter('a', 'z');
  std::vector<std::string> words(800);
  for (std::string& word : words)
    for (int i = length(random); i > 0; --i) word += static_cast<char>(letter(random));
  return words;
}

std::string Page(int number, size_t size, const std::vector<std::string>& words,
                 std::mt19937& random) {
  std::uniform_int_distribution<size_t> pick(0, words.size() - 1);
  std::uniform_int_distribution<int> paragraph(40, 160);
  std::string page = "<html><head><title>Page " + std::to_string(number) +
                     "</title><link rel=\"stylesheet\" href=\"book.css\"></head><body>\n";
  while (page.size() < size) {
    page += "<p>";
    for (int n = paragraph(random); n > 0 && page.size() < size; --n) {
      page += words[pick(random)];
      page += ' ';
    }
    page += "</p>\n";
  }
  page += "</body></html>\n";
  return page;
}

std::vector<BookEntry> MakeBook(size_t* pageBytes, size_t* pictureBytes) {
  std::mt19937 random(20261208);
  const std::vector<std::string> words = Vocabulary(random);
  std::uniform_int_distribution<size_t> pageSize(2 << 10, 60 << 10);
  std::vector<BookEntry> entries;
  entries.push_back({"XSE1.QRLC", "[cSettings]\nDATA=00000000000000000100000000000000000\n"});
  size_t compressedPages = 0;
  *pageBytes = 0;
  for (int i = 0; i < kPages; ++i) {
    const std::string folder = i % 5 == 0 ? "" : "PART" + std::to_string(i % 40) + "/";
    BookEntry page{folder + "PAGE" + std::to_string(i) + ".HTML",
                   Page(i, pageSize(random), words, random)};
    *pageBytes += page.content.size();
    compressedPages += ebook::EncodeEntry(page.name, page.content).size();
    entries.push_back(std::move(page));
  }
  // Pictures fill the rest of the 100 MB; stored deflate blocks make them a little larger.
  const size_t average = (kTargetArchiveBytes - std::min(kTargetArchiveBytes, compressedPages)) /
                         kPictures * 1000 / 1001;
  std::uniform_int_distribution<size_t> pictureSize(average / 2, average * 3 / 2);
  std::uniform_int_distribution<unsigned> byte(0, 255);
  *pictureBytes = 0;
  for (int i = 0; i < kPictures; ++i) {
    std::string picture(pictureSize(random), '\0');
    for (char& c : picture) c = static_cast<char>(byte(random));
    *pictureBytes += picture.size();
    entries.push_back({"PICS/IMG" + std::to_string(i) + ".JPG", std::move(picture)});
  }
  ebook::SortInBookOrder(entries);
  return entries;
}

double MedianMs(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

double TimeMs(const std::function<void()>& work) {
  const auto begin = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
      .count();
}

// The file system's own share: a fresh folder like ExtractBookToTemp's with every book file
// created at its size from one zero-filled buffer.
std::string CreateFilesOnly(const std::vector<std::pair<std::string, size_t>>& files) {
  std::string folder = ebook::UserTempFolder() + "TMP0-" + std::to_string(getpid() % 20000) + "/";
  mkdir(folder.c_str(), 0700);
  std::string zeros;
  for (const auto& [name, size] : files) {
    zeros.resize(std::max(zeros.size(), size));
    ebook::ForceEntryFolders(name, folder);
    const std::string path = folder + name;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) continue;
    for (size_t done = 0; done < size;) {
      const ssize_t wrote = write(fd, zeros.data() + done, size - done);
      if (wrote <= 0) break;
      done += static_cast<size_t>(wrote);
    }
    close(fd);
  }
  return folder;
}

const char* FileSystemName(const std::string& folder) {
  struct statfs info {};
  if (statfs(folder.c_str(), &info) != 0) return "unknown";
  switch (info.f_type) {
    case 0x01021994:
      return "tmpfs";
    case 0xEF53:
      return "ext4";
    case 0x9123683E:
      return "btrfs";
    case 0x58465342:
      return "xfs";
    case 0x794C7630:
      return "overlayfs";
    default:
      return "other";
  }
}

}  // namespace

int main() {
  size_t pageBytes = 0;
  size_t pictureBytes = 0;
  const std::string archive = ebook::EncodeArchive(MakeBook(&pageBytes, &pictureBytes));
  ebook::SetExeImage(ebook::BookImage::FromBytes(archive));

  size_t inflated = 0;
  std::vector<std::pair<std::string, size_t>> files;
  const auto inflateAll = [&] {
    inflated = 0;
    files.clear();
    for (const std::string& name : ebook::EnumerateEntries())
      if (name.size() < 5 || name.substr(name.size() - 5) != ".QRLC") {
        files.emplace_back(name, ebook::ReadEntry(name).size());
        inflated += files.back().second;
      }
  };
  const auto extract = [&] {
    std::string folder;
    ebook::ExtractBookToTemp(folder);
    return folder;
  };

  std::vector<double> inflateTimes;
  std::vector<double> extractTimes;
  std::vector<double> createTimes;
  for (int run = 0; run < kRuns; ++run) {
    inflateTimes.push_back(TimeMs(inflateAll));
    std::string folder;
    extractTimes.push_back(TimeMs([&] { folder = extract(); }));
    ebook::DeleteTempFolder(ebook::TempFolderFromBaseUrl(folder));
    createTimes.push_back(TimeMs([&] { folder = CreateFilesOnly(files); }));
    ebook::DeleteTempFolder(ebook::TempFolderFromBaseUrl(folder));
  }
  const double reference = MedianMs(inflateTimes);
  const double figure = MedianMs(extractTimes);
  const double floor = MedianMs(createTimes);

  std::printf("book: %.1f MB archive; %d pages, %.1f MB; %d pictures, %.1f MB; %.1f MB inflated\n",
              archive.size() / 1048576.0, kPages, pageBytes / 1048576.0, kPictures,
              pictureBytes / 1048576.0, inflated / 1048576.0);
  std::printf("temporary folder: %s (%s); median of %d runs\n", ebook::UserTempFolder().c_str(),
              FileSystemName(ebook::UserTempFolder()), kRuns);
  std::printf("inflate only: %.0f ms   extract to folder: %.0f ms   ratio %.2f (target <= 1.5)\n",
              reference, figure, figure / reference);
  std::printf(
      "file system alone (same files, same sizes, nothing inflated): %.0f ms; "
      "extract / (inflate + file system) %.2f\n",
      floor, figure / (reference + floor));
  std::printf("extract\tinflate entries, no writing\t%.1f ms\t-\t-\t-\n", reference);
  std::printf("extract\tcreate the files, no inflating\t%.1f ms\t-\t-\t-\n", floor);
  std::printf("extract\tExtractBookToTemp (reference: inflate only)\t%.1f ms\t%.1f ms\t%.2f\t<= 1.5\n", figure, reference,
              figure / reference);
  return 0;
}
