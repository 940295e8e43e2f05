#pragma once
// The command line of ebook-pack: picks the command, reads its arguments, runs it and turns
// failures into messages and exit codes. main() only hands over its arguments and streams.

#include <iosfwd>
#include <string>
#include <vector>

namespace ebook {

// Exit codes of ebook-pack.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // bad input, unreadable book, damaged entry; check: errors
inline constexpr int kExitUsage = 2;   // no command, unknown command or option

// Runs one command; `args` are the arguments after the program name. `terminal`, when given,
// is where progress is drawn (main passes the standard error when it is a terminal).
int RunPackCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   std::ostream* terminal = nullptr);

// The usage text of every command, or of one.
std::string PackUsage(const std::string& command = {});

// "ebook-pack 0.1.0".
std::string PackVersion();

}  // namespace ebook
