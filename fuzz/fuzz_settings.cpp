// Any text as a settings entry: the INI reading, every key, the option string and colours.
#include <cstdint>
#include <string_view>

#include "settings/BookSettings.h"
#include "settings/Colors.h"
#include "settings/SettingsKeys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ebook::IniText ini(std::string_view(reinterpret_cast<const char*>(data), size));
  const ebook::BookSettings settings = ebook::ReadBookSettings(ini);
  (void)ebook::DescribeOptionString(settings.OptionString);
  for (size_t offset = 0; offset < 40; ++offset) (void)settings.OptionString.at(offset);
  for (const ebook::SettingKey& key : ebook::SettingsKeys())
    (void)ini.ReadInteger(key.section, key.key, 0);
  for (const ebook::IniText::Line& line : ini.lines()) {
    if (line.value.size() > ebook::kMaxSettingsLineLength) __builtin_trap();
    (void)ebook::ColorFromString(line.value);
    (void)ebook::ParseInteger(line.value);
  }
  return 0;
}
