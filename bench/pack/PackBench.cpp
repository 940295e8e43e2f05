// Building a book from a 100 MB synthetic folder with ebook-pack, against `tar -c | gzip -6` of
// the same folder in the same run, and checking the book it makes. Both read the folder from
// the same tmpfs and write their output there; rounds alternate so that both meet the same
// machine.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/SimExe.h"
#include "bench/common/SyntheticBook.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double TimeCommand(const std::string& command) {
  const Clock::time_point start = Clock::now();
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Row(const std::string& measure, double figure, double reference, const char* target) {
  printf("pack\t%s\t%.0f ms\t", measure.c_str(), figure);
  if (reference > 0)
    printf("%.0f ms\t%.2f\t%s\n", reference, figure / reference, target);
  else
    printf("-\t-\t%s\n", target);
}

}  // namespace

int main() {
  using namespace ebook;
  bench::SyntheticBookOptions options;
  options.pages = 3600;
  options.pictures = 240;
  const bench::SyntheticBook book = bench::MakeSyntheticBook(options);
  const fs::path work = fs::path("/dev/shm") / ("ebook-pack-bench-" + std::to_string(getpid()));
  const fs::path folder = work / "folder";
  size_t bytes = 0;
  for (const BookEntry& entry : book.entries) {
    const fs::path path = folder / entry.name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(entry.content.data(), static_cast<std::streamsize>(entry.content.size()));
    bytes += entry.content.size();
  }
  printf("# synthetic folder: %.1f MB in %zu files (%zu pages, %zu pictures)\n", bytes / 1e6,
         book.entries.size(), book.pageNames.size(), book.pictureNames.size());

  const std::string tool = EBOOK_PACK_PATH;
  const std::string viewer = ExecutablePath();  // any program without a book stands in for the viewer
  const std::string out = (work / "book").string();
  const std::string build = tool + " build " + folder.string() + " -o " + out + " --viewer " + viewer +
                            " --quiet >/dev/null 2>&1";
  const std::string buildPlain = tool + " build " + folder.string() + " -o " + out + " --viewer " +
                                 viewer + " --toc none --quiet >/dev/null 2>&1";
  const std::string tar = "tar -c -C " + folder.string() + " . | gzip -6 > " + (work / "folder.tar.gz").string();
  const std::string check = tool + " check " + out + " --quiet >/dev/null 2>&1; true";

  std::vector<double> builds, plainBuilds, tars, checks;
  for (int round = 0; round < 3; ++round) {
    tars.push_back(TimeCommand(tar));
    builds.push_back(TimeCommand(build));
    plainBuilds.push_back(TimeCommand(buildPlain));
  }
  TimeCommand(build);
  for (int round = 0; round < 3; ++round) checks.push_back(TimeCommand(check));
  printf("# book: %.1f MB; tar.gz: %.1f MB\n", fs::file_size(out) / 1e6,
         fs::file_size(work / "folder.tar.gz") / 1e6);
  const double reference = Median(tars);
  Row("build, no options (contents from the pages) (reference: tar | gzip -6)", Median(builds),
      reference, "<= 1.0");
  Row("build --toc none (reference: tar | gzip -6)", Median(plainBuilds), reference, "<= 1.0");
  Row("check of the built book", Median(checks), 0, "< 2000 ms");
  fs::remove_all(work);
  return 0;
}
