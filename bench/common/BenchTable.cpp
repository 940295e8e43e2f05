#include "bench/common/BenchTable.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace ebook::bench {

double MedianMs(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void PrintRow(const std::string& benchmark, const std::string& measure, double figureMs,
              double referenceMs, const std::string& target) {
  char figure[32], reference[32] = "-", ratio[32] = "-";
  snprintf(figure, sizeof figure, "%.4g ms", figureMs);
  if (referenceMs > 0) {
    snprintf(reference, sizeof reference, "%.4g ms", referenceMs);
    snprintf(ratio, sizeof ratio, "%.3g", figureMs / referenceMs);
  }
  printf("%s\t%s\t%s\t%s\t%s\t%s\n", benchmark.c_str(), measure.c_str(), figure, reference, ratio,
         target.empty() ? "-" : target.c_str());
  fflush(stdout);
}

}  // namespace ebook::bench
