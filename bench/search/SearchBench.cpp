// Search over all pages of 100 MB synthetic books against `grep -r -c -i -F` over the same
// pages extracted to a tmpfs folder, measured side by side in one run: a Windows-1252 book with
// an ASCII word, and a UTF-8 book with accented prose and a word searched for with and without
// its accented letter.
//
// Prints commentary lines starting with "#" and rows of
//   benchmark <TAB> measure <TAB> figure <TAB> reference <TAB> ratio <TAB> target
// (times in milliseconds, medians of interleaved runs).

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
#include <set>
#include <string>
#include <vector>

#include "archive/BookImage.h"
#include "platform/RunningBook.h"
#include "bench/common/SyntheticBook.h"
#include "search/PageSearch.h"

extern char** environ;

namespace ebook::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double CpuMs(const rusage& usage) {
  auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double ProcessCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return CpuMs(usage);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct SearchRun {
  double ms = 0;
  double cpuMs = 0;
  double longestGapMs = 0;  // longest time without a callback, start and end included
  std::vector<std::string> hits;
};

SearchRun TimeSearch(const BookImage& book, const std::string& word, unsigned workers) {
  SearchRun run;
  PageSearch search(workers);
  Clock::time_point last = Clock::now();
  auto tick = [&] {
    const Clock::time_point now = Clock::now();
    run.longestGapMs = std::max(run.longestGapMs, Ms(now - last));
    last = now;
  };
  search.SetProgressHandler([&](size_t, size_t) { tick(); }, 16);
  const double cpuStart = ProcessCpuMs();
  const Clock::time_point start = Clock::now();
  last = start;
  const SearchOutcome outcome = search.Run(book, word, [&](const SearchHit& hit) {
    tick();
    run.hits.push_back(hit.name);
  });
  tick();
  run.ms = Ms(Clock::now() - start);
  run.cpuMs = ProcessCpuMs() - cpuStart;
  if (outcome.error) fprintf(stderr, "search failed: %s\n", outcome.error->c_str());
  return run;
}

struct GrepRun {
  double ms = 0;
  double cpuMs = 0;
  std::set<std::string> files;  // relative paths with at least one match
};

// grep in the C locale folds case byte by byte, as the search does for ASCII; `locale` names
// another (C.UTF-8 folds every letter of UTF-8 text); "inherit" runs it in the locale this
// program was started in.
GrepRun TimeGrep(const fs::path& folder, const std::string& word, const std::string& locale = "C") {
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);
  std::vector<std::string> env = {"LC_ALL=" + locale, "PATH=/usr/bin:/bin"};
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string args[] = {"grep", "-r", "-c", "-i", "-F", word, folder.string()};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  GrepRun run;
  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  char** environment = locale == "inherit" ? environ : envp.data();
  if (posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), environment) != 0)
    throw std::runtime_error("cannot start grep");
  close(out[1]);
  std::string output;
  char buffer[65536];
  for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    output.append(buffer, static_cast<size_t>(got));
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  run.ms = Ms(Clock::now() - start);
  run.cpuMs = CpuMs(usage);
  close(out[0]);
  posix_spawn_file_actions_destroy(&actions);

  const std::string prefix = folder.string() + "/";
  size_t begin = 0;
  while (begin < output.size()) {
    size_t end = output.find('\n', begin);
    if (end == std::string::npos) end = output.size();
    const std::string line = output.substr(begin, end - begin);
    const size_t colon = line.rfind(':');
    if (colon != std::string::npos && line.substr(colon + 1) != "0")
      run.files.insert(line.substr(prefix.size(), colon - prefix.size()));
    begin = end + 1;
  }
  return run;
}

void Row(const std::string& measure, double figure, double reference, const char* target) {
  printf("search\t%s\t%.1f ms\t", measure.c_str(), figure);
  if (reference > 0)
    printf("%.1f ms\t%.2f\t%s\n", reference, figure / reference, *target ? target : "-");
  else
    printf("-\t-\t%s\n", *target ? target : "-");
}

// Pages extracted to a tmpfs folder for grep; removed again by the destructor.
struct ExtractedPages {
  fs::path folder;
  ExtractedPages(const BookImage& book, const SyntheticBook& synthetic, const std::string& tag)
      : folder(fs::path("/dev/shm") / ("ebook-search-bench-" + tag + std::to_string(getpid()))) {
    fs::remove_all(folder);
    for (const std::string& name : synthetic.pageNames) {
      const fs::path path = folder / name;
      fs::create_directories(path.parent_path());
      const std::string content = book.ReadEntry(name);
      std::ofstream(path, std::ios::binary).write(content.data(), content.size());
    }
  }
  ~ExtractedPages() { fs::remove_all(folder); }
};

BookImage MakeBook(const SyntheticBookOptions& options, SyntheticBook& synthetic) {
  const Clock::time_point made = Clock::now();
  synthetic = MakeSyntheticBook(options);
  // The program part is this benchmark's own file, so the archive starts where a real book's does.
  BookImage book = BookImage::FromBytes(EncodeBook(synthetic.entries, ReadFileBytes(ExecutablePath())));
  printf("# %s book: %.1f MB image, %zu pages (%.1f MB), word in %zu pages; made in %.1f s\n",
         options.utf8 ? "UTF-8" : "Windows-1252", book.bytes().size() / 1e6,
         synthetic.pageNames.size(), synthetic.pageBytes / 1e6, synthetic.rareWordPages.size(),
         Ms(Clock::now() - made) / 1000);
  return book;
}

// One query over one book against grep in `locale`, interleaved rounds. Returns whether the
// hits agree with grep and with the pages the word was planted in.
bool Compare(const BookImage& book, const SyntheticBook& synthetic, const ExtractedPages& pages,
             const std::string& label, const std::string& query, const std::string& locale,
             int rounds, const char* target, bool oneWorkerToo) {
  std::vector<double> two, one, grep, gaps, twoCpu, grepCpu;
  bool agree = true;
  const std::set<std::string> expected(synthetic.rareWordPages.begin(), synthetic.rareWordPages.end());
  for (int round = 0; round < rounds; ++round) {
    const GrepRun g = TimeGrep(pages.folder, query, locale);
    const SearchRun s2 = TimeSearch(book, query, 2);
    grep.push_back(g.ms);
    grepCpu.push_back(g.cpuMs);
    two.push_back(s2.ms);
    twoCpu.push_back(s2.cpuMs);
    gaps.push_back(s2.longestGapMs);
    const std::set<std::string> found(s2.hits.begin(), s2.hits.end());
    agree = agree && found == expected && g.files == expected &&
            std::is_sorted(s2.hits.begin(), s2.hits.end());
    if (oneWorkerToo) {
      const SearchRun s1 = TimeSearch(book, query, 1);
      one.push_back(s1.ms);
      agree = agree && s1.hits == s2.hits;
    }
    if (round == 0)
      printf("# %s: planted in %zu pages; search found %zu, grep (LC_ALL=%s) %zu\n", label.c_str(),
             expected.size(), found.size(), locale.c_str(), g.files.size());
  }
  printf("# %s: hits agree with grep and the planted pages, in archive order: %s\n", label.c_str(),
         agree ? "yes" : "NO");
  Row(label + ", 2 workers (ms)", Median(two), Median(grep), target);
  if (oneWorkerToo) Row(label + ", 1 worker (ms)", Median(one), Median(grep), "");
  printf("# %s: processor time (ms): search %.1f with 2 workers; grep %.1f\n", label.c_str(),
         Median(twoCpu), Median(grepCpu));
  Row(label + ", longest gap between callbacks (ms)", Median(gaps), 0, "<= 50 ms");
  return agree;
}

int Main(int rounds) {
  bool agree = true;
  {
    SyntheticBookOptions options;
    options.rareWord = "quetzal";
    options.mixedCase = true;  // so that the search has to fold case
    options.extraEntries = {
        {"XSE1.QRLC", "[cSettings]\r\nDATA=1111111111000000000000000000221110\r\n"}};
    SyntheticBook synthetic;
    const BookImage book = MakeBook(options, synthetic);
    const ExtractedPages pages(book, synthetic, "ansi-");
    agree &= Compare(book, synthetic, pages, "all pages", "quetzal", "C", rounds, "<= 2x grep", true);
    const char* lang = getenv("LC_ALL") ? getenv("LC_ALL") : getenv("LANG");
    printf("# grep in this program's locale (%s): %.1f ms\n", lang ? lang : "unset",
           TimeGrep(pages.folder, "quetzal", "inherit").ms);
  }
  {
    // Today's documentation: UTF-8 prose with accented letters, half the pages declaring their
    // charset. The word is planted as quétzal, Quétzal or QUÉTZAL; grep folds it in C.UTF-8.
    SyntheticBookOptions options;
    options.utf8 = true;
    options.seed = 977;
    options.rareWord = "qu\xC3\xA9tzal";
    options.mixedCase = true;
    SyntheticBook synthetic;
    const BookImage book = MakeBook(options, synthetic);
    const ExtractedPages pages(book, synthetic, "utf8-");
    agree &= Compare(book, synthetic, pages, "UTF-8 book, non-ASCII query", "QU\xC3\x89TZAL",
                     "C.UTF-8", rounds, "<= 1.5x grep", false);
    agree &= Compare(book, synthetic, pages, "UTF-8 book, ASCII query", "TZAL", "C.UTF-8", rounds,
                     "<= 1.5x grep", false);
  }
  return agree ? 0 : 1;
}

}  // namespace
}  // namespace ebook::bench

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
  return ebook::bench::Main(rounds);
}
