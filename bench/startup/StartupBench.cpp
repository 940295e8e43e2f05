// Start-up benchmark: time from process start to the first page's load finished, for
//   - the viewer with a small book (or --sample BOOKFILE, a book built by the book tool),
//   - the viewer with a synthetic book of about 100 MB,
//   - a minimal Qt WebEngine program showing the same start page from memory,
// measured in the same run, alternating the programs, and reported as medians.
//
//   ebook_bench_startup [--runs N] [--sample BOOKFILE [PAGE]]
//
// Targets: viewer / minimal at most 1.3; large book at most 30 ms slower than the small one.

#include <QCoreApplication>
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
  std::cerr << "writing benchmark books in " << dir << " ...\n";
  if (sample.isEmpty()) {
    sample = QString::fromStdString(dir + "/small-book");
    ebook::bench::WriteBookFile(EBOOK_VIEWER_PATH, ebook::bench::SmallBook(),
                                sample.toStdString());
  }
  const std::string large = dir + "/large-book";
  ebook::bench::WriteBookFile(EBOOK_VIEWER_PATH, ebook::bench::LargeBook(), large);

  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  if (!environment.contains(QStringLiteral("DISPLAY")) &&
      !environment.contains(QStringLiteral("WAYLAND_DISPLAY"))) {
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  }
  if (geteuid() == 0) environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), "1");
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.path());
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work.path());

  const QStringList viewerArgs{QStringLiteral("--quit-after-load")};
  std::vector<Program> programs = {
      {"minimal program, sample page", EBOOK_MINIMAL_PATH, {sample, samplePage}, {}},
      {"viewer, sample book", sample, viewerArgs, {}},
      {"viewer, 100 MB book", QString::fromStdString(large), viewerArgs, {}},
  };
  TimeOneRun(programs[1], environment);  // warm the file cache and the engine's files
  for (int run = 0; run < runs; ++run) {
    for (Program& program : programs) program.ms.push_back(TimeOneRun(program, environment));
  }

  // Rows for bench/run.sh: benchmark, measure, figure, reference, ratio, target.
  std::printf("# start-up to first page loaded, median of %d runs\n", runs);
  const double minimal = Median(programs[0].ms);
  const double small = Median(programs[1].ms);
  const double big = Median(programs[2].ms);
  std::printf("startup\tminimal WebEngine program, sample page\t%.1f ms\t-\t-\t-\n", minimal);
  std::printf("startup\tviewer, sample book (reference: minimal)\t%.1f ms\t%.1f ms\t%.2f\t<= 1.3\n",
              small, minimal, small / minimal);
  std::printf("startup\tviewer, 100 MB book (reference: sample book)\t%.1f ms\t%.1f ms\t%+.1f ms\t<= +30 ms\n",
              big, small, big - small);
  return 0;
}
