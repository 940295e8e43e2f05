#include "settings/SettingsKeys.h"
#include "text/Ascii.h"

#include <array>

namespace ebook {
namespace {

using T = SettingType;

constexpr std::array kKeys = {
    SettingKey{"cSettings", "DATA", T::String, ""},
    SettingKey{"cSettings", "home", T::String, ""},
    SettingKey{"cNav", "interval", T::Integer, "0"},
    SettingKey{"cEve", "start", T::String, ""},
    SettingKey{"cEve", "close", T::String, ""},
    SettingKey{"cEve", "width", T::Integer, "640"},
    SettingKey{"cEve", "height", T::Integer, "480"},
    SettingKey{"cEve", "bookmark", T::Boolean, "0"},
    SettingKey{"cInfo", "title", T::String, "QUIREL eBook"},
    SettingKey{"cInfo", "enumber", T::String, ""},
    SettingKey{"cInfo", "author", T::String, ""},
    SettingKey{"cInfo", "email", T::String, ""},
    SettingKey{"cInfo", "web", T::String, ""},
    SettingKey{"cInfo", "about", T::String, ""},
    SettingKey{"cTool", "logoURL", T::String, ""},
    SettingKey{"cTool", "bgColor", T::Color, ""},
    SettingKey{"cTool", "txColor", T::Color, ""},
    SettingKey{"cTool", "buttonheight", T::Integer, "45"},
    SettingKey{"cTool", "buttonwidth", T::Integer, "48"},
    SettingKey{"cTool", "BL1", T::String, ""},
    SettingKey{"cTool", "BL2", T::String, ""},
    SettingKey{"cTool", "BL3", T::String, ""},
    SettingKey{"cTool", "BL4", T::String, ""},
    SettingKey{"cTool", "BL5", T::String, ""},
    SettingKey{"cTool", "BL6", T::String, ""},
    SettingKey{"cTool", "BL7", T::String, ""},
    SettingKey{"cTool", "BL8", T::String, ""},
    SettingKey{"cTool", "BL9", T::String, ""},
    SettingKey{"cTool", "BL10", T::String, ""},
    SettingKey{"search", "1", T::String, "Search current page:"},
    SettingKey{"search", "2", T::String, "Search this page"},
    SettingKey{"search", "3", T::String, "Search all pages for:"},
    SettingKey{"search", "4", T::String, "Search results:"},
    SettingKey{"search", "5", T::String, "Close"},
    // Optional texts a book in another language names; older viewers ignore them.
    SettingKey{"search", "title", T::String, "Search"},
    SettingKey{"search", "found", T::String, "Pages found"},
    SettingKey{"PFiles", "TOCtitle", T::String, "Table of Contents"},
    SettingKey{"PFiles", "UseTOCauto", T::Boolean, "0"},
    SettingKey{"PFiles", "UseTOC", T::Boolean, "0"},
};

}  // namespace

std::span<const SettingKey> SettingsKeys() { return kKeys; }

const SettingKey* FindSettingKey(std::string_view section, std::string_view key) {
  for (const SettingKey& entry : kKeys)
    if (EqualsIgnoringAsciiCase(entry.section, section) && EqualsIgnoringAsciiCase(entry.key, key))
      return &entry;
  return nullptr;
}

std::string_view SettingDefault(std::string_view section, std::string_view key) {
  const SettingKey* entry = FindSettingKey(section, key);
  return entry ? entry->defaultValue : std::string_view();
}

}  // namespace ebook
