#pragma once
// Every settings key the viewer reads, with its type and exact default, in the order the
// viewer reads them. A book may carry further keys; the viewer ignores them.
//
// search/title, search/found and PFiles/TOCtitle name the search panel, the words after the
// number of pages found ("3 Pages found") and the contents panel; a viewer that does not know
// them shows its defaults, which are the same texts.

#include <span>
#include <string_view>

namespace ebook {

enum class SettingType { String, Integer, Boolean, Color };

struct SettingKey {
  std::string_view section;
  std::string_view key;
  SettingType type;
  std::string_view defaultValue;  // as text: "640", "1", "" ...
};

std::span<const SettingKey> SettingsKeys();

// The settings entry's name inside the archive.
inline constexpr std::string_view kSettingsEntry = "XSE1.QRLC";

}  // namespace ebook
