#pragma once
// The contents in the text form authors write and the book tool prints: one node a line, two
// spaces of indentation per level, the caption, a TAB, the page name (which may be empty; a line
// without a TAB has no page). Blank lines are skipped.

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

// The text form of `tree`; page names as stored.
std::string FormatTocText(const TocTree& tree);

}  // namespace ebook
