// Extraction of a 100 MB book to the temporary folder against inflating the same entries
// without writing them, measured side by side in one run. The book is the benchmarks' seeded
// synthetic one: 5,000 HTML pages of 2 to 60 KB of generated prose (compressing about as well
// as real pages) and 500 incompressible pictures.
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
#include <string>
#include <vector>

#include "archive/BookImage.h"
#include "platform/Shell.h"
#include "platform/RunningBook.h"
#include "platform/TempFolder.h"
#include "bench/common/SyntheticBook.h"
#include "archive/InternalEntries.h"

namespace {

constexpr int kRuns = 5;

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
  ebook::bench::SyntheticBookOptions options;
  options.extraEntries = {{"XSE1.QRLC", "[cSettings]\nDATA=00000000000000000100000000000000000\n"}};
  const ebook::bench::SyntheticBook book = ebook::bench::MakeSyntheticBook(options);
  const std::string archive = ebook::bench::EncodeBook(book.entries);
  const ebook::BookImage image = ebook::BookImage::FromBytes(archive);

  size_t inflated = 0;
  std::vector<std::pair<std::string, size_t>> files;
  const auto inflateAll = [&] {
    inflated = 0;
    files.clear();
    for (const std::string& name : image.EnumerateEntries())
      if (!ebook::IsInternalEntry(name)) {
        files.emplace_back(name, image.ReadEntry(name).size());
        inflated += files.back().second;
      }
  };
  const auto extract = [&] {
    std::string folder;
    ebook::ExtractBookToTemp(image, folder);
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
              archive.size() / 1048576.0, static_cast<int>(book.pageNames.size()),
              book.pageBytes / 1048576.0, static_cast<int>(book.pictureNames.size()),
              book.pictureBytes / 1048576.0, inflated / 1048576.0);
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
  std::printf(
      "extract\tExtractBookToTemp (reference: inflate only)\t%.1f ms\t%.1f ms\t%.2f\t<= 1.5\n",
      figure, reference, figure / reference);
  return 0;
}
