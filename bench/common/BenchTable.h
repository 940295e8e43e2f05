#pragma once
// Figures printed by every benchmark in one format, which bench/run.sh gathers into a table:
//   benchmark <TAB> measure <TAB> figure <TAB> reference <TAB> ratio <TAB> target

#include <chrono>
#include <functional>
#include <string>

namespace ebook::bench {

// Median wall time in milliseconds of `runs` calls of `work`.
double MedianMs(int runs, const std::function<void()>& work);

// One row; `reference` and `target` may be empty. The ratio is figure / reference.
void PrintRow(const std::string& benchmark, const std::string& measure, double figureMs,
              double referenceMs = 0, const std::string& target = "");

}  // namespace ebook::bench
