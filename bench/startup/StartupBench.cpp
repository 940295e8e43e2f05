// Start-up benchmark: time from process start to the first page's load finished, for
//   - a small book (or --sample BOOKFILE, a book built by the book tool) started directly
//     (launcher, then viewer), the same opened by the installed viewer, and the same made
//     without the launcher (the viewer with its archive),
//   - a synthetic book of about 100 MB,
//   - with a portable runtime built: the portable small book, first start with an empty
//     cache and later starts,
//   - a minimal Qt WebEngine program showing the same start page from memory,
// measured in the same run, alternating the programs, and reported as medians.
//
//   ebook_bench_startup [--runs N] [--sample BOOKFILE [PAGE]]
//
// Targets: book / minimal at most 1.3, started directly or by the installed viewer; large
// book at most 30 ms slower than the small one; portable book: later starts at most 1.1x the
// plain book, the first start at most 1.5 s more.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <unistd.h>
#include <vector>

#include "SyntheticBooks.h"

namespace {

struct Program {
  QString label;
  QString executable;
  QStringList arguments;
  std::vector<double> ms;
};

// Milliseconds from start to the line the program prints when its first page has loaded.
double TimeOneRun(const Program& program, const QProcessEnvironment& environment) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setProcessChannelMode(QProcess::SeparateChannels);
  process.setStandardErrorFile(QProcess::nullDevice());
  QElapsedTimer clock;
  clock.start();
  process.start(program.executable, program.arguments);
  QByteArray output;
  while (!output.contains("loaded")) {
    if (!process.waitForReadyRead(-1)) break;
    output += process.readAllStandardOutput();
  }
  const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  process.waitForFinished(-1);
  if (!output.contains("loaded")) {
    std::cerr << program.label.toStdString() << ": no page loaded\n";
    return -1;
  }
  return ms;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int runs = 7;
  QString sample, samplePage = QString::fromLatin1(ebook::bench::kStartPage);
  const QStringList args = app.arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--runs") && i + 1 < args.size()) runs = args[++i].toInt();
    if (args[i] == QLatin1String("--sample") && i + 1 < args.size()) {
      sample = args[++i];
      if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1Char('-'))) samplePage = args[++i];
    }
  }

  QTemporaryDir work;
  work.setAutoRemove(true);
  const std::string dir = work.path().toStdString();
  const std::string images = EBOOK_IMAGE_DIR;
  const std::vector<std::string> plainFront = {images + "/ebook-launch", images + "/ebook-viewer"};
  std::cerr << "writing benchmark books in " << dir << " ...\n";
  if (sample.isEmpty()) {
    sample = QString::fromStdString(dir + "/small-book");
    ebook::bench::WriteBookFile(plainFront, ebook::bench::SmallBook(), sample.toStdString());
  }
  // The same book without the launcher: the viewer with its archive, as books were made before.
  const std::string direct = dir + "/small-book-without-launcher";
  ebook::bench::WriteBookFile({images + "/ebook-viewer"}, ebook::bench::SmallBook(), direct);
  const std::string large = dir + "/large-book";
  ebook::bench::WriteBookFile(plainFront, ebook::bench::LargeBook(), large);
  const std::string runtime = images + "/runtime.frame";
  const bool portable = access(runtime.c_str(), R_OK) == 0;
  const std::string portableBook = dir + "/portable-book";
  if (portable)
    ebook::bench::WriteBookFile({images + "/ebook-launch", runtime}, ebook::bench::SmallBook(),
                                portableBook);

  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  if (!environment.contains(QStringLiteral("DISPLAY")) &&
      !environment.contains(QStringLiteral("WAYLAND_DISPLAY"))) {
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  }
  if (geteuid() == 0) environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), "1");
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.path());
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work.path());
  const QString cache = work.path() + QStringLiteral("/cache");
  environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache);

  const QStringList viewerArgs{QStringLiteral("--quit-after-load")};
  const QString portablePath = QString::fromStdString(portableBook);
  std::vector<Program> programs = {
      {"minimal program, sample page", EBOOK_MINIMAL_PATH, {sample, samplePage}, {}},
      {"book started directly", sample, viewerArgs, {}},
      {"book opened by the installed viewer", EBOOK_VIEWER_PATH, {sample, viewerArgs[0]}, {}},
      {"book without launcher", QString::fromStdString(direct), viewerArgs, {}},
      {"100 MB book", QString::fromStdString(large), viewerArgs, {}},
  };
  if (portable) programs.push_back({"portable book, later starts", portablePath, viewerArgs, {}});
  Program firstStart{"portable book, first start (empty cache)", portablePath, viewerArgs, {}};
  TimeOneRun(programs[1], environment);  // warm the file cache and the engine's files
  if (portable) TimeOneRun(programs.back(), environment);  // unpacks the runtime once
  for (int run = 0; run < runs; ++run) {
    for (Program& program : programs) program.ms.push_back(TimeOneRun(program, environment));
    if (portable) {
      QDir(cache).removeRecursively();
      firstStart.ms.push_back(TimeOneRun(firstStart, environment));
    }
  }

  // Rows for bench/run.sh: benchmark, measure, figure, reference, ratio, target.
  std::printf("# start-up to first page loaded, median of %d runs\n", runs);
  const double minimal = Median(programs[0].ms);
  const double small = Median(programs[1].ms);
  const double installed = Median(programs[2].ms);
  const double withoutLauncher = Median(programs[3].ms);
  const double big = Median(programs[4].ms);
  std::printf("startup\tminimal WebEngine program, sample page\t%.1f ms\t-\t-\t-\n", minimal);
  std::printf("startup\tbook started directly (reference: minimal)\t%.1f ms\t%.1f ms\t%.2f\t<= 1.3\n",
              small, minimal, small / minimal);
  std::printf("startup\tbook opened by the installed viewer (reference: minimal)\t%.1f ms\t%.1f ms\t%.2f\t<= 1.3\n",
              installed, minimal, installed / minimal);
  std::printf("startup\tbook started directly (reference: the same without launcher)\t%.1f ms\t%.1f ms\t%.2f\t~ 1.0\n",
              small, withoutLauncher, small / withoutLauncher);
  std::printf("startup\t100 MB book (reference: sample book)\t%.1f ms\t%.1f ms\t%+.1f ms\t<= +30 ms\n",
              big, small, big - small);
  if (portable) {
    const double later = Median(programs[5].ms);
    const double first = Median(firstStart.ms);
    std::printf("startup\tportable book, later starts (reference: plain book)\t%.1f ms\t%.1f ms\t%.2f\t<= 1.1\n",
                later, small, later / small);
    std::printf("startup\tportable book, first start, empty cache (reference: plain book)\t%.1f ms\t%.1f ms\t%+.0f ms\t<= +1500 ms\n",
                first, small, first - small);
  }
  return 0;
}
