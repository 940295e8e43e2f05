#pragma once
// What a check found, and the two forms it is printed in: one line a finding and a summary
// line counting them by kind, or one JSON object for scripts.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ebook {

struct Finding {
  enum class Severity { Error, Warning };
  Severity severity = Severity::Error;
  std::string kind;   // for the summary and scripts: "missing entry", "missing anchor", ...
  std::string where;  // "INDEX.HTML, line 12", "settings, line 4", "contents node 3 \"Intro\""
  std::string what;
  size_t links = 0;               // grouped link findings: how many links
  std::vector<std::string> from;  // grouped link findings: the first pages, "PAGE, line N"
};

// "error: WHERE: WHAT" or "warning: WHERE: WHAT".
std::string FormatFinding(const Finding& finding);

// The summary line: "BOOK: 2 errors, 1 warning (missing entry 2, unreached page 1)".
std::string FormatSummary(std::string_view book, const std::vector<Finding>& findings);

// Every finding as one JSON object (see the .cpp for its fields).
std::string FindingsJson(std::string_view book, const std::vector<Finding>& findings);

}  // namespace ebook
