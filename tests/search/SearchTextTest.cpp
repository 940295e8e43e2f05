#include "search/SearchText.h"

#include <gtest/gtest.h>

#include <string>

#include "text/CaseFolding.h"

namespace ebook {
namespace {

TEST(SearchTextTest, StatusTexts) {
  EXPECT_EQ(kSearchingText, "Searching...");
  EXPECT_EQ(PagesFoundText(0), "0 Pages found");
  EXPECT_EQ(PagesFoundText(1), "1 Pages found");
  EXPECT_EQ(PagesFoundText(2), "2 Pages found");
  EXPECT_EQ(PagesFoundText(1250), "1250 Pages found");
}

TEST(SearchTextTest, QueryIsCaseFoldedThenTrimmed) {
  const struct {
    std::string typed;
    std::string query;
  } cases[] = {
      {"Foo", "foo"},
      {"  FOO \t\r\n", "foo"},
      {"Foo  Bar", "foo  bar"},  // inner blanks stay as typed
      {"\x01<TITLE>\x1f", "<title>"},
      {"S\xC3\x89" "CURIT\xC3\x89", "s\xC3\xA9" "curit\xC3\xA9"},  // UTF-8, as the panel hands it
      {"\xCE\xA3\xCE\x91\xCE\xA3", "\xCF\x83\xCE\xB1\xCF\x83"},
      {"\xC4RGER", "\xC3\xA4rger"},  // not UTF-8: read as Windows-1252
      {"\xA0x\xA0", "\xC2\xA0x\xC2\xA0"},  // the no-break space is no blank here
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
      {"<title>&amp; Co &#233; &eacute;</title>", "& Co \xC3\xA9 \xC3\xA9"},
      {"<title>ast &#8212; Abstract</title>", "ast \xE2\x80\x94 Abstract"},
      {"<title>Caf\xC3\xA9</title>", "Caf\xC3\xA9"},
      {"<title>Caf\xE9</title>", "Caf\xC3\xA9"},
      {"<meta charset=iso-8859-15><title>\xA4</title>", "\xE2\x82\xAC"},
      {"<title>First</title><title>Second</title>", "First"},
      {"<title>Open only", "PAGE.HTM"},
      {"Close only</title>", "PAGE.HTM"},
      {"<title lang=\"en\">With attributes</title>", "With attributes"},
      {"<title xmlns:d=\"http://docbook.org/ns/docbook\">Pr\xC3\xA9" "face</title>", "Pr\xC3\xA9" "face"},
      {"</title> before <title>", "PAGE.HTM"},
      {"<title>A</title> then </title>", "A"},
      {"no markup at all", "PAGE.HTM"},
      {"", "PAGE.HTM"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PageCaption(c.page, "PAGE.HTM"), c.caption) << c.page;
  }
  // A page without a title is listed under its name, read as the book's text.
  EXPECT_EQ(PageCaption("", "CAF\xE9.HTM"), "CAF\xC3\xA9.HTM");
}

}  // namespace
}  // namespace ebook
