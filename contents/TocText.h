#pragma once
// The contents in the text form authors write and the book tool prints: one node a line, two
// spaces of indentation per level, the caption, a TAB, the page name (which may be empty; a line
// without a TAB has no page). Blank lines are skipped.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "contents/TocStream.h"

namespace ebook {

class TocTextError : public std::runtime_error {
 public:
  TocTextError(int line, const std::string& what)
      : std::runtime_error(what), line_(line) {}
  int line() const { return line_; }  // 1-based

 private:
  int line_;
};

// Throws TocTextError for odd indentation, a node indented more than one level below the
// previous one, an empty caption, or a page name longer than 255 bytes.
TocTree ParseTocText(std::string_view text);

// Nodes nested deeper than this are left out of the text form: each level indents its lines by
// two more spaces, so a million-deep chain (which only a damaged or hostile stream holds)
// would take a terabyte of text.
inline constexpr size_t kMaxTocTextDepth = 1000;

// The text form of `tree`; page names as stored. The number of nodes left out for being
// nested deeper than kMaxTocTextDepth goes to `leftOut` when given.
std::string FormatTocText(const TocTree& tree, size_t* leftOut = nullptr);

}  // namespace ebook
