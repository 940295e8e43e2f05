#include <gtest/gtest.h>

#include "settings/BookSettings.h"
#include "settings/Colors.h"
#include "settings/IniText.h"
#include "settings/OptionString.h"
#include "settings/SettingsKeys.h"

namespace ebook {
namespace {

TEST(ParseInteger, ReadsDecimalAndBothHexadecimalForms) {
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {"800", 800},        {"-12", -12},          {"+7", 7},        {"0x320", 800},
      {"0X320", 800},      {"$320", 800},         {"-$10", -16},    {"$FFFFFFFF", -1},
      {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt},
      {"800px", std::nullopt}, {"", std::nullopt}, {"0x", std::nullopt}, {"$", std::nullopt},
      {"true", std::nullopt}, {"1 2", std::nullopt}, {"$123456789", std::nullopt},
      {"99999999999999999999", std::nullopt}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseInteger(text), expected) << text;
}

TEST(IniText, ReadsSectionsAndKeysAsAuthorsWriteThem) {
  const IniText ini(
      "  \r\nignored=before any section\r\n[CEVE]\r\n WIDTH = 0x320 \r\n; width=1\r\n"
      "height=$320\r\n  [ cInfo ]  \r\nabout= a=b \r\ntitle=\r\nnoequals\r\n"
      "[cEve]\r\nwidth=1\r\nbookmark=-1\r\n\r\n");
  EXPECT_EQ(ini.ReadInteger("cEve", "width", 640), 800);  // first line of a key wins
  EXPECT_EQ(ini.ReadInteger("cEve", "height", 480), 800);
  EXPECT_EQ(ini.ReadString("cInfo", "about", "x"), "a=b");
  EXPECT_EQ(ini.ReadString("cInfo", "title", "default"), "");  // present but empty
  EXPECT_EQ(ini.ReadString("cInfo", "noequals", "none"), "none");
  EXPECT_EQ(ini.ReadString("", "ignored", "none"), "none");
  EXPECT_TRUE(ini.ReadBool("cEve", "bookmark", false));
}

TEST(IniText, OnlyCrLfEndsALine) {
  const IniText lf("[cEve]\nwidth=800\n");
  EXPECT_EQ(lf.ReadInteger("cEve", "width", 640), 640);
  const IniText cr("[cEve]\r\nwidth=800\rheight=2\r\n");
  EXPECT_EQ(cr.ReadString("cEve", "width", ""), "800\rheight=2");
}

TEST(IniText, LongLinesAreCutAt4096CharactersBeforeParsing) {
  const IniText ini("[cInfo]\r\nabout=" + std::string(5000, 'x') + "\r\ntitle=T");
  EXPECT_EQ(ini.ReadString("cInfo", "about", "").size(), 4090u);
  EXPECT_EQ(ini.ReadString("cInfo", "title", ""), "T");
}

TEST(IniText, BooleansAreIntegers) {
  const IniText ini("[cEve]\r\na=1\r\nb=-1\r\nc=0\r\nd=true\r\ne=yes\r\nf=\r\n");
  EXPECT_TRUE(ini.ReadBool("cEve", "a", false));
  EXPECT_TRUE(ini.ReadBool("cEve", "b", false));
  EXPECT_FALSE(ini.ReadBool("cEve", "c", true));
  EXPECT_FALSE(ini.ReadBool("cEve", "d", false));
  EXPECT_TRUE(ini.ReadBool("cEve", "d", true));
  EXPECT_FALSE(ini.ReadBool("cEve", "e", false));
  EXPECT_FALSE(ini.ReadBool("cEve", "f", false));
}

TEST(BookSettings, EveryKeyTakesItsDefaultWithoutASettingsEntry) {
  const BookSettings s = ReadBookSettings(IniText(""));
  EXPECT_EQ(s.BookTitle, "QUIREL eBook");
  EXPECT_FALSE(s.BookmarkEnabled);
  EXPECT_EQ(s.StartPage, "");
  EXPECT_EQ(s.OptionString.text(), "");
  EXPECT_EQ(SettingsKeys().size(), 39u);
}

TEST(BookSettings, ValuesAreTrimmedAndTitleOnceMore) {
  const BookSettings s = ReadBookSettings(IniText(
      "[cSettings]\r\nhome =  start page.html  \r\nDATA=1101\r\n[cInfo]\r\ntitle=\t My Book \t\r\n"
      "enumber={0001}\r\n[cTool]\r\nbgColor=clNavy\r\n"));
  EXPECT_EQ(s.StartPage, "start page.html");
  EXPECT_EQ(s.BookTitle, "My Book");
  EXPECT_EQ(s.BookNumber, "{0001}");
  EXPECT_EQ(s.ToolbarColor, "clNavy");
  EXPECT_EQ(s.OptionString.text(), "1101");
}

TEST(OptionString, PositionsPastTheEndHaveNoMeaning) {
  const OptionString shortOne("111");
  EXPECT_TRUE(shortOne.is(0, '1'));
  EXPECT_EQ(shortOne.at(3), '\0');
  EXPECT_EQ(shortOne.at(1000), '\0');
  EXPECT_FALSE(shortOne.complete());
  EXPECT_EQ(OptionString().at(0), '\0');
}

TEST(OptionString, DescribesTheSwitchesInWords) {
  const OptionString o("1101001110000002000000000000221110");
  EXPECT_TRUE(o.complete());
  std::string all;
  for (const std::string& line : DescribeOptionString(o)) all += line + "\n";
  for (const char* expected :
       {" 0 Back button: yes", " 2 Reload button: no", " 6 Print button: yes", "15 logo: hidden",
        "17 delivery: from memory", "19 Back and Next: history", "28 border: sizeable",
        "29 placement: maximized", "30 minimize button: yes", "33 toolbar at the bottom: no"})
    EXPECT_NE(all.find(expected), std::string::npos) << expected << "\n" << all;
}

TEST(Colors, NamesInAnyCaseAndIntegers) {
  EXPECT_EQ(ColorFromString("clRed"), 0x0000FFu);
  EXPECT_EQ(ColorFromString("CLNAVY"), 0x800000u);
  EXPECT_EQ(ColorFromString("clbtnface"), 0xFF00000Fu);
  EXPECT_EQ(ColorFromString("clHotLight"), 0xFF00001Au);
  EXPECT_EQ(ColorFromString("clNone"), kColorNone);
  EXPECT_EQ(ColorFromString("clDefault"), kColorDefault);
  EXPECT_EQ(ColorFromString("$0000FF"), 0x0000FFu);
  EXPECT_EQ(ColorFromString("255"), 0x0000FFu);
  EXPECT_TRUE(IsSystemColor(*ColorFromString("clWindow")));
  EXPECT_EQ(ColorFromString("red"), std::nullopt);
  EXPECT_EQ(ColorFromString(""), std::nullopt);
}

}  // namespace
}  // namespace ebook
