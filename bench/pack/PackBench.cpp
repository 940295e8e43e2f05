// Building a book from a 100 MB synthetic folder with ebook-pack, against `tar -c | gzip -6` of
// the same folder in the same run, and checking the book it makes. Both read the folder from
// the same tmpfs and write their output there; rounds alternate so that both meet the same
// machine.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
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

#include "platform/RunningBook.h"
#include "bench/common/SyntheticBook.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double TimeCommand(const std::string& command) {
  const Clock::time_point start = Clock::now();
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs the program with its output thrown away; its wall time in ms and its peak memory.
struct Measured {
  double ms = 0;
  double peakMb = 0;
};
Measured RunMeasured(std::vector<std::string> args) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
    throw std::runtime_error("cannot start " + args[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  posix_spawn_file_actions_destroy(&actions);
  return {std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
          static_cast<double>(usage.ru_maxrss) / 1024};
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
    std::ofstream(path, std::ios::binary)
        .write(entry.content.data(), static_cast<std::streamsize>(entry.content.size()));
    bytes += entry.content.size();
  }
  printf("# synthetic folder: %.1f MB in %zu files (%zu pages, %zu pictures)\n", bytes / 1e6,
         book.entries.size(), book.pageNames.size(), book.pictureNames.size());

  const std::string tool = EBOOK_PACK_PATH;
  const std::string viewer =
      ExecutablePath();  // any program without a book stands in for the viewer
  const std::string out = (work / "book").string();
  const std::string build = tool + " build " + folder.string() + " -o " + out + " --viewer " +
                            viewer + " --quiet >/dev/null 2>&1";
  const std::string buildPlain = tool + " build " + folder.string() + " -o " + out + " --viewer " +
                                 viewer + " --toc none --quiet >/dev/null 2>&1";
  const std::string tar =
      "tar -c -C " + folder.string() + " . | gzip -6 > " + (work / "folder.tar.gz").string();

  std::vector<double> builds, plainBuilds, tars, checks, peaks;
  for (int round = 0; round < 3; ++round) {
    tars.push_back(TimeCommand(tar));
    builds.push_back(TimeCommand(build));
    plainBuilds.push_back(TimeCommand(buildPlain));
  }
  TimeCommand(build);
  for (int round = 0; round < 3; ++round) {
    const Measured check = RunMeasured({tool, "check", out, "--quiet"});
    checks.push_back(check.ms);
    peaks.push_back(check.peakMb);
  }
  printf("# book: %.1f MB; tar.gz: %.1f MB\n", fs::file_size(out) / 1e6,
         fs::file_size(work / "folder.tar.gz") / 1e6);
  const double reference = Median(tars);
  Row("build, no options (contents from the pages) (reference: tar | gzip -6)", Median(builds),
      reference, "<= 1.0");
  Row("build --toc none (reference: tar | gzip -6)", Median(plainBuilds), reference, "<= 1.0");
  Row("check of the built book", Median(checks), 0, "< 2000 ms");
  printf("# check's peak memory: %.0f MB for a %.0f MB book of %.0f MB inflated\n", Median(peaks),
         fs::file_size(out) / 1e6, bytes / 1e6);
  fs::remove_all(work);
  return 0;
}
