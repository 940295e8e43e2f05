// The settings table is the one place a key's default is written: every reader falls back to
// it, and every key the programs read by name is in it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "settings/BookSettings.h"
#include "settings/IniText.h"
#include "settings/SettingsKeys.h"

namespace ebook {
namespace {

TEST(SettingsDefaults, EmptySettingsReadAsTheTableSays) {
  const BookSettings s = ReadBookSettings(IniText(""));
  EXPECT_EQ(s.OptionString.text(), SettingDefault("cSettings", "DATA"));
  EXPECT_EQ(s.StartPage, SettingDefault("cSettings", "home"));
  EXPECT_EQ(s.StartMessage, SettingDefault("cEve", "start"));
  EXPECT_EQ(s.CloseMessage, SettingDefault("cEve", "close"));
  EXPECT_EQ(s.BookmarkEnabled, SettingDefault("cEve", "bookmark") != "0");
  EXPECT_EQ(s.BookTitle, SettingDefault("cInfo", "title"));
  EXPECT_EQ(s.BookNumber, SettingDefault("cInfo", "enumber"));
  EXPECT_EQ(s.BookAuthor, SettingDefault("cInfo", "author"));
  EXPECT_EQ(s.BookEmail, SettingDefault("cInfo", "email"));
  EXPECT_EQ(s.BookWeb, SettingDefault("cInfo", "web"));
  EXPECT_EQ(s.BookAbout, SettingDefault("cInfo", "about"));
  EXPECT_EQ(s.LogoUrl, SettingDefault("cTool", "logoURL"));
  EXPECT_EQ(s.ToolbarColor, SettingDefault("cTool", "bgColor"));
  EXPECT_EQ(s.ToolbarTextColor, SettingDefault("cTool", "txColor"));
  // A settings object nobody has read yet says the same.
  EXPECT_EQ(BookSettings{}.BookTitle, s.BookTitle);
}

TEST(SettingsDefaults, TypedReadersFallBackToEachKeysDefault) {
  const IniText empty("");
  // A key present but unreadable as a number falls back as well.
  const IniText garbled("[cEve]\r\nwidth=wide\r\n[PFiles]\r\nUseTOC=yes\r\n");
  for (const SettingKey& key : SettingsKeys()) {
    SCOPED_TRACE(std::string(key.section) + "/" + std::string(key.key));
    EXPECT_EQ(FindSettingKey(key.section, key.key), &key);
    EXPECT_EQ(empty.ReadString(key.section, key.key), key.defaultValue);
    if (key.type == SettingType::Integer) {
      EXPECT_EQ(std::to_string(empty.ReadInteger(key.section, key.key)), key.defaultValue);
    }
    if (key.type == SettingType::Boolean) {
      EXPECT_EQ(empty.ReadBool(key.section, key.key) ? "1" : "0", key.defaultValue);
    }
  }
  EXPECT_EQ(garbled.ReadInteger("cEve", "width"), 640);
  EXPECT_FALSE(garbled.ReadBool("PFiles", "UseTOC"));
  // Section and key names match without regard to ASCII case, as in the settings text.
  EXPECT_EQ(SettingDefault("CINFO", "Title"), "QUIREL eBook");
  // A key outside the table has the empty default.
  EXPECT_EQ(FindSettingKey("cEve", "depth"), nullptr);
  EXPECT_EQ(empty.ReadString("cEve", "depth"), "");
  EXPECT_EQ(empty.ReadInteger("cEve", "depth"), 0);
}

// Every `ReadString("section", "key"` (and ReadInteger, ReadBool) in the viewer, the settings
// and the book tool names a key of the table, so that its default comes from there.
TEST(SettingsDefaults, EveryKeyReadByNameIsInTheTable) {
  const std::filesystem::path root = EBOOK_SOURCE_DIR;
  const std::regex read(R"re(Read(String|Integer|Bool)\(\s*"([^"]+)",\s*"([^"]+)")re");
  size_t reads = 0;
  for (const char* room : {"viewer", "settings", "tools/ebook-pack", "app"}) {
    if (!std::filesystem::exists(root / room)) continue;
    for (const auto& item : std::filesystem::recursive_directory_iterator(root / room)) {
      if (item.path().extension() != ".cpp" && item.path().extension() != ".h") continue;
      std::ifstream file(item.path());
      std::stringstream text;
      text << file.rdbuf();
      const std::string source = text.str();
      for (std::sregex_iterator it(source.begin(), source.end(), read), end; it != end; ++it) {
        ++reads;
        EXPECT_NE(FindSettingKey((*it)[2].str(), (*it)[3].str()), nullptr)
            << item.path() << " reads " << (*it)[2] << "/" << (*it)[3]
            << ", which the settings table does not hold";
      }
    }
  }
  EXPECT_GE(reads, 20u) << "the readers of settings keys were not found under " << root;
}

}  // namespace
}  // namespace ebook
