#pragma once
// Every settings key the viewer reads, with its type and exact default, in the order the
// viewer reads them. A book may carry further keys; the viewer ignores them.
//
// search/title, search/found and PFiles/TOCtitle name the search panel, the words after the
// number of pages found ("3 Pages found") and the contents panel; a viewer that does not know
// them shows its defaults, which are the same texts.

#include <span>
#include <string_view>

#include "archive/InternalEntries.h"

namespace ebook {

enum class SettingType { String, Integer, Boolean, Color };

struct SettingKey {
  std::string_view section;
  std::string_view key;
  SettingType type;
  std::string_view defaultValue;  // as text: "640", "1", "" ...
};

std::span<const SettingKey> SettingsKeys();

// The key's entry in the table (section and key compared without regard to ASCII case), or
// nullptr for a key the viewer does not read.
const SettingKey* FindSettingKey(std::string_view section, std::string_view key);

// The key's default as text; "" for a key the viewer does not read.
std::string_view SettingDefault(std::string_view section, std::string_view key);

}  // namespace ebook
