#pragma once
// The book's option string: the DATA value of section cSettings, a row of one-character
// switches read by 0-based offset. Only the digits "0" to "4" mean anything. A book's string
// should hold 34 switches; a shorter one reads as "no meaning" past its end, so every switch
// there is off.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ebook {

// Offsets of the switches the viewer reads.
namespace opt {
inline constexpr size_t kBack = 0, kNext = 1, kReload = 2, kHome = 3, kStop = 4, kSearch = 5,
                        kPrint = 6, kAbout = 7, kExit = 8, kContent = 9;
inline constexpr size_t kLogo = 15, kLogoStretch = 16, kTempFolder = 17, kNoToolbar = 18,
                        kContentsNavigation = 19, kAutoAdvance = 26, kBorder = 28,
                        kPlacement = 29, kMinimizeButton = 30, kMaximizeButton = 31,
                        kSystemMenu = 32, kToolbarAtBottom = 33;
inline constexpr size_t kRequiredLength = 34;
}  // namespace opt

class OptionString {
 public:
  OptionString() = default;
  explicit OptionString(std::string text) : text_(std::move(text)) {}

  // The switch at `offset`, or '\0' (no meaning) past the end of the string.
  char at(size_t offset) const { return offset < text_.size() ? text_[offset] : '\0'; }
  bool is(size_t offset, char value) const { return at(offset) == value; }

  const std::string& text() const { return text_; }
  bool complete() const { return text_.size() >= opt::kRequiredLength; }

 private:
  std::string text_;
};

// One line per switch the viewer reads, in words ("17 temp-folder delivery: no (protocol)").
std::vector<std::string> DescribeOptionString(const OptionString& options);

}  // namespace ebook
