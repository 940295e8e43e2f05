#pragma once
// Colours as books write them: a name from the table of 52 ("clNavy", "clBtnFace", ...) or an
// integer. A plain colour is 0x00BBGGRR (red in the lowest byte); a value whose highest byte is
// 0xFF is a system colour, the platform's colour for the screen element in the lowest byte.

#include <cstdint>
#include <optional>
#include <string_view>

namespace ebook {

inline constexpr uint32_t kColorNone = 0x1FFFFFFF;
inline constexpr uint32_t kColorDefault = 0x20000000;

// The colour named or written by `text`; nullopt for text that is neither a table name (any
// ASCII case) nor an integer.
std::optional<uint32_t> ColorFromString(std::string_view text);

inline bool IsSystemColor(uint32_t color) { return (color >> 24) == 0xFF; }

}  // namespace ebook
