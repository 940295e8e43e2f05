#pragma once
// The book's own entries: the names the viewer reads its settings, contents and pictures from.
// They all end in ".QRLC", which no page of a book may end in; such entries are never shown,
// searched, extracted to the temporary folder or listed as pages.

#include <string>
#include <string_view>

#include "text/Ascii.h"

namespace ebook {

inline constexpr std::string_view kInternalEnding = ".QRLC";
inline constexpr std::string_view kSettingsEntry = "XSE1.QRLC";      // the settings text
inline constexpr std::string_view kSplashMarkerEntry = "XSEI.QRLC";  // splash time in seconds
inline constexpr std::string_view kSplashPictureEntry = "XSE0.QRLC"; // splash bitmap
inline constexpr std::string_view kTocEntry = "XTOC.QRLC";           // the contents stream
inline constexpr std::string_view kLogoEntry = "LOGO.QRLC";          // the toolbar's logo
inline constexpr int kButtonPictureCount = 10;                       // B1.QRLC .. B10.QRLC

// The picture entry of toolbar button `n` (1 .. kButtonPictureCount): "B<n>.QRLC".
inline std::string ButtonPictureEntry(int n) {
  return std::string("B").append(std::to_string(n)).append(kInternalEnding);
}

// Whether `name` is one of the book's own entries: it ends in ".QRLC", letters compared
// without regard to ASCII case as the archive compares every name.
inline bool IsInternalEntry(std::string_view name) {
  return name.size() >= kInternalEnding.size() &&
         EqualsIgnoringAsciiCase(name.substr(name.size() - kInternalEnding.size()), kInternalEnding);
}

}  // namespace ebook
