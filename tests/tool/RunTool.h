#pragma once
// Runs ebook-pack in-process and keeps what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "PackCommand.h"

namespace ebook::testing {

struct ToolRun {
  int code = -1;
  std::string out;
  std::string err;
};

inline ToolRun RunTool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  ToolRun run;
  run.code = RunPackCommand(args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

}  // namespace ebook::testing
