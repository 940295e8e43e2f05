#include "search/SearchText.h"

#include <gtest/gtest.h>

#include <string>

namespace ebook {
namespace {

TEST(SearchTextTest, StatusTexts) {
  EXPECT_EQ(kSearchingText, "Searching...");
  EXPECT_EQ(PagesFoundText(0), "0 Pages found");
  EXPECT_EQ(PagesFoundText(1), "1 Pages found");
  EXPECT_EQ(PagesFoundText(2), "2 Pages found");
  EXPECT_EQ(PagesFoundText(1250), "1250 Pages found");
}

TEST(SearchTextTest, QueryIsLowerCasedThenTrimmed) {
  const struct {
    std::string typed;
    std::string query;
  } cases[] = {
      {"Foo", "foo"},
      {"  FOO \t\r\n", "foo"},
      {"Foo  Bar", "foo  bar"},  // inner blanks stay as typed
      {"\x01<TITLE>\x1f", "<title>"},
      {"\xC4RGER", "\xC4rger"},  // letters outside ASCII keep their case
      {"\xA0x\xA0", "\xA0x\xA0"},  // 0xA0 is no blank here
      {"", ""},
      {" \t\r\n ", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeQuery(c.typed), c.query) << c.typed;
}

TEST(SearchTextTest, LowerCasingTouchesOnlyAsciiLetters) {
  std::string all;
  for (int i = 0; i < 256 * 3 + 5; ++i) all.push_back(static_cast<char>(i % 256));
  std::string lowered(all.size(), '\0');
  LowerAscii(all.data(), lowered.data(), all.size());
  for (size_t i = 0; i < all.size(); ++i) {
    const char c = all[i];
    const char expected = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    ASSERT_EQ(lowered[i], expected) << "byte " << (static_cast<int>(c) & 0xFF);
  }
}

TEST(SearchTextTest, ExtensionsThatQualify) {
  const struct {
    const char* name;
    const char* extension;
    bool searched;
  } cases[] = {
      {"PAGE.HTM", ".HTM", true},
      {"PAGE.HTML", ".HTML", true},
      {"NOTES.TXT", ".TXT", true},
      {"SUB/DIR/PAGE.HTM", ".HTM", true},
      {"OLD.PAGE.HTML", ".HTML", true},
      {"C:PAGE.HTM", ".HTM", true},
      {"page.htm", ".htm", false},
      {"PAGE.Htm", ".Htm", false},
      {"PAGE.XHTML", ".XHTML", false},
      {"PAGE.SHTML", ".SHTML", false},
      {"NOTES.TEXT", ".TEXT", false},
      {"PAGE.ASP", ".ASP", false},
      {"PAGE.HTM.BAK", ".BAK", false},
      {"PAGE.HTM ", ".HTM ", false},
      {"PICS/COVER.JPG", ".JPG", false},
      {"XSE1.QRLC", ".QRLC", false},
      {"HTM", "", false},
      {"PAGE.", ".", false},
      {"DIR.HTM\\PAGE", "", false},  // a "\" after the last "." means no extension
      {"PAGE.HTM:X", "", false},
      {"DIR.X/PAGE.HTM", ".HTM", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NameExtension(c.name), c.extension) << c.name;
    EXPECT_EQ(IsSearchablePage(c.name), c.searched) << c.name;
  }
}

TEST(SearchTextTest, Captions) {
  const struct {
    const char* page;
    const char* caption;
  } cases[] = {
      {"<html><head><title>Chapter One</title></head>", "Chapter One"},
      {"<HTML><TITLE>  Upper Case Tags\t</TITLE>", "Upper Case Tags"},
      {"<Title>Mixed</tItLe>", "Mixed"},
      {"<title></title>", ""},
      {"<title> \r\n </title>", ""},
      {"<title>\r\n  Line one\r\n  Line two\r\n</title>", "Line one\r\n  Line two"},
      {"<title>&amp; Co &#233;</title>", "&amp; Co &#233;"},
      {"<title>First</title><title>Second</title>", "First"},
      {"<title>Open only", "PAGE.HTM"},
      {"Close only</title>", "PAGE.HTM"},
      {"<title lang=\"en\">With attributes</title>", "PAGE.HTM"},
      {"</title> before <title>", "PAGE.HTM"},
      {"<title>A</title> then </title>", "A"},
      {"no markup at all", "PAGE.HTM"},
      {"", "PAGE.HTM"},
  };
  for (const auto& c : cases) {
    const std::string page = c.page;
    std::string lowered(page.size(), '\0');
    LowerAscii(page.data(), lowered.data(), page.size());
    EXPECT_EQ(PageCaption(page, lowered, "PAGE.HTM"), c.caption) << c.page;
  }
}

}  // namespace
}  // namespace ebook
