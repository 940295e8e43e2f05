// ebook-pack: builds a book from an author's folder and shows what any book holds.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "PackCommand.h"
#include "archive/MemoryBudget.h"
#include "platform/AvailableMemory.h"

int main(int argc, char** argv) {
  // An entry that would inflate past what the process may still use fails instead of the process.
  ebook::SetAvailableMemoryProbe([] { return ebook::AvailableMemory(); });
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::ostream* terminal = isatty(STDERR_FILENO) ? &std::cerr : nullptr;
  return ebook::RunPackCommand(args, std::cout, std::cerr, terminal);
}
