// Search over all pages of a 100 MB synthetic book against `grep -r -c -i -F` over the same
// pages extracted to a tmpfs folder, measured side by side in one run.
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
#include "archive/SimExe.h"
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

// grep in the C locale folds case byte by byte, as the search does; `inheritLocale` runs it in
// the locale this program was started in instead.
GrepRun TimeGrep(const fs::path& folder, const std::string& word, bool inheritLocale = false) {
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);
  std::vector<std::string> env = {"LC_ALL=C", "PATH=/usr/bin:/bin"};
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
  char** environment = inheritLocale ? environ : envp.data();
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

void Row(const char* measure, double figure, double reference, const char* target) {
  printf("search\t%s\t%.1f ms\t", measure, figure);
  if (reference > 0)
    printf("%.1f ms\t%.2f\t%s\n", reference, figure / reference, *target ? target : "-");
  else
    printf("-\t-\t%s\n", *target ? target : "-");
}

int Main(int rounds) {
  const Clock::time_point made = Clock::now();
  const std::string word = "quetzal";
  SyntheticBookOptions options;
  options.rareWord = word;
  options.mixedCase = true;  // so that the search has to fold case
  options.extraEntries = {
      {"XSE1.QRLC", "[cSettings]\r\nDATA=1111111111000000000000000000221110\r\n"}};
  const SyntheticBook synthetic = MakeSyntheticBook(options);
  // The program part is this benchmark's own file, so the archive starts where a real book's does.
  const BookImage book =
      BookImage::FromBytes(EncodeBook(synthetic.entries, ReadFileBytes(ExecutablePath())));
  printf(
      "# synthetic book: %.1f MB image, %zu pages (%.1f MB), word in %zu pages; made in %.1f s\n",
      book.bytes().size() / 1e6, synthetic.pageNames.size(), synthetic.pageBytes / 1e6,
      synthetic.rareWordPages.size(), Ms(Clock::now() - made) / 1000);

  const fs::path folder = fs::path("/dev/shm") / ("ebook-search-bench-" + std::to_string(getpid()));
  fs::remove_all(folder);
  for (const std::string& name : synthetic.pageNames) {
    const fs::path path = folder / name;
    fs::create_directories(path.parent_path());
    const std::string content = book.ReadEntry(name);
    std::ofstream(path, std::ios::binary).write(content.data(), content.size());
  }

  std::vector<double> two, one, grep, grepLocale, gaps, twoCpu, oneCpu, grepCpu;
  bool agree = true;
  const std::set<std::string> expected(synthetic.rareWordPages.begin(),
                                       synthetic.rareWordPages.end());
  for (int round = 0; round < rounds; ++round) {
    const GrepRun g = TimeGrep(folder, word);
    const SearchRun s2 = TimeSearch(book, word, 2);
    const SearchRun s1 = TimeSearch(book, word, 1);
    grep.push_back(g.ms);
    twoCpu.push_back(s2.cpuMs);
    oneCpu.push_back(s1.cpuMs);
    grepCpu.push_back(g.cpuMs);
    grepLocale.push_back(TimeGrep(folder, word, true).ms);
    two.push_back(s2.ms);
    one.push_back(s1.ms);
    gaps.push_back(s2.longestGapMs);
    const std::set<std::string> found(s2.hits.begin(), s2.hits.end());
    if (round == 0)
      printf("# planted in %zu pages; search found %zu (1 worker %zu), grep %zu\n", expected.size(),
             found.size(), s1.hits.size(), g.files.size());
    agree = agree && found == expected && g.files == expected &&
            std::is_sorted(s2.hits.begin(), s2.hits.end()) && s1.hits == s2.hits;
  }
  fs::remove_all(folder);

  printf("# %d interleaved rounds; grep runs with LC_ALL=C over %s\n", rounds,
         folder.string().c_str());
  printf("# hits agree with grep and the planted pages, in archive order: %s\n",
         agree ? "yes" : "NO");
  Row("all pages, 2 workers (ms)", Median(two), Median(grep), "<= 2x grep");
  Row("all pages, 1 worker (ms)", Median(one), Median(grep), "");
  const char* lang = getenv("LC_ALL") ? getenv("LC_ALL") : getenv("LANG");
  printf("# grep in this program's locale (%s): %.1f ms\n", lang ? lang : "unset",
         Median(grepLocale));
  printf("# processor time (ms): search %.1f with 2 workers, %.1f with 1; grep %.1f\n",
         Median(twoCpu), Median(oneCpu), Median(grepCpu));
  Row("longest gap between callbacks, 2 workers (ms)", Median(gaps), 0, "<= 50 ms");
  printf("# longest gap over all rounds: %.1f ms\n", *std::max_element(gaps.begin(), gaps.end()));
  return agree ? 0 : 1;
}

}  // namespace
}  // namespace ebook::bench

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
  return ebook::bench::Main(rounds);
}
