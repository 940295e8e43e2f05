#include "viewer/widgets/BookColor.h"

#include <QPalette>
#include <array>

#include "settings/Colors.h"

namespace ebook {

namespace {

struct SystemColor {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// The platform's screen elements by their number (the low byte of a system colour), as the
// palette roles that paint the same elements.
constexpr std::array<std::optional<SystemColor>, 31> kSystemColors = {{
    SystemColor{QPalette::Active, QPalette::Button},           // 0 scroll bar
    SystemColor{QPalette::Active, QPalette::Window},           // 1 desktop
    SystemColor{QPalette::Active, QPalette::Highlight},        // 2 active caption
    SystemColor{QPalette::Inactive, QPalette::Highlight},      // 3 inactive caption
    SystemColor{QPalette::Active, QPalette::Window},           // 4 menu
    SystemColor{QPalette::Active, QPalette::Base},             // 5 window
    SystemColor{QPalette::Active, QPalette::Shadow},           // 6 window frame
    SystemColor{QPalette::Active, QPalette::WindowText},       // 7 menu text
    SystemColor{QPalette::Active, QPalette::Text},             // 8 window text
    SystemColor{QPalette::Active, QPalette::HighlightedText},  // 9 caption text
    SystemColor{QPalette::Active, QPalette::Window},           // 10 active border
    SystemColor{QPalette::Inactive, QPalette::Window},         // 11 inactive border
    SystemColor{QPalette::Active, QPalette::Dark},             // 12 application workspace
    SystemColor{QPalette::Active, QPalette::Highlight},        // 13 highlight
    SystemColor{QPalette::Active, QPalette::HighlightedText},  // 14 highlighted text
    SystemColor{QPalette::Active, QPalette::Button},           // 15 button face
    SystemColor{QPalette::Active, QPalette::Dark},             // 16 button shadow
    SystemColor{QPalette::Disabled, QPalette::Text},           // 17 grey text
    SystemColor{QPalette::Active, QPalette::ButtonText},       // 18 button text
    SystemColor{QPalette::Inactive, QPalette::HighlightedText},  // 19 inactive caption text
    SystemColor{QPalette::Active, QPalette::Light},            // 20 button highlight
    SystemColor{QPalette::Active, QPalette::Shadow},           // 21 3-D dark shadow
    SystemColor{QPalette::Active, QPalette::Midlight},         // 22 3-D light
    SystemColor{QPalette::Active, QPalette::ToolTipText},      // 23 tooltip text
    SystemColor{QPalette::Active, QPalette::ToolTipBase},      // 24 tooltip background
    std::nullopt,                                              // 25 (unused)
    SystemColor{QPalette::Active, QPalette::Link},             // 26 hot-tracked item
    SystemColor{QPalette::Active, QPalette::Highlight},        // 27 active caption gradient
    SystemColor{QPalette::Inactive, QPalette::Highlight},      // 28 inactive caption gradient
    SystemColor{QPalette::Active, QPalette::Highlight},        // 29 menu highlight
    SystemColor{QPalette::Active, QPalette::Window},           // 30 menu bar
}};

}  // namespace

std::optional<QColor> BookColor(std::string_view text, const QPalette& palette) {
  const std::optional<uint32_t> color = ColorFromString(text);
  if (!color || *color == kColorNone || *color == kColorDefault) return std::nullopt;
  if (IsSystemColor(*color)) {
    const uint32_t element = *color & 0xFFu;
    if (element >= kSystemColors.size() || !kSystemColors[element]) return std::nullopt;
    return palette.color(kSystemColors[element]->group, kSystemColors[element]->role);
  }
  // 0x00BBGGRR: red in the lowest byte.
  return QColor(static_cast<int>(*color & 0xFFu), static_cast<int>((*color >> 8) & 0xFFu),
                static_cast<int>((*color >> 16) & 0xFFu));
}

}  // namespace ebook
