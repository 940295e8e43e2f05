// The book's texts: which encoding a text or page is read in, what it decodes to, case folding
// across scripts, character references and page titles.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "text/BookText.h"
#include "text/CaseFolding.h"
#include "text/CharacterReferences.h"
#include "text/PageEncoding.h"
#include "text/PageTitle.h"
#include "text/Utf8.h"

namespace ebook {
namespace {

TEST(Utf8Test, ValidityFollowsTheStandard) {
  struct Case {
    const char* what;
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"ASCII", "plain text", true},
      {"two, three and four bytes", "\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x93\x96", true},
      {"Windows-1252 e acute", "caf\xE9", false},
      {"overlong slash", "\xC0\xAF", false},
      {"overlong three bytes", "\xE0\x80\xAF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"past U+10FFFF", "\xF4\x90\x80\x80", false},
      {"cut short", "ab\xE2\x80", false},
      {"lone continuation", "\x80", false},
      {"long ASCII run then a bad byte", std::string(40, 'a') + "\xFF", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.what;
}

TEST(BookTextTest, EncodingIsUtf8OnlyForValidUtf8WithNonAscii) {
  EXPECT_EQ(BookTextEncoding("Preface"), TextEncoding::kWindows1252);
  EXPECT_EQ(BookTextEncoding("Pr\xC3\xA9" "face"), TextEncoding::kUtf8);
  EXPECT_EQ(BookTextEncoding("Pr\xE9" "face"), TextEncoding::kWindows1252);
  EXPECT_EQ(BookTextEncoding("\xEF\xBB\xBFPreface"), TextEncoding::kUtf8);
  EXPECT_EQ(BookTextEncoding(""), TextEncoding::kWindows1252);
}

TEST(BookTextTest, DecodesEitherEncodingToUtf8) {
  EXPECT_EQ(DecodeBookText("Pr\xC3\xA9" "face"), "Pr\xC3\xA9" "face");
  EXPECT_EQ(DecodeBookText("Pr\xE9" "face"), "Pr\xC3\xA9" "face");
  EXPECT_EQ(DecodeBookText("What\x92s New \x80"), "What\xE2\x80\x99s New \xE2\x82\xAC");
  EXPECT_EQ(DecodeBookText("\xEF\xBB\xBFTitle"), "Title");
  // The five bytes Windows leaves undefined keep their C1 control.
  EXPECT_EQ(DecodeBookText("\x81"), "\xC2\x81");
  // Declared UTF-8 with a stray byte shows the replacement character there.
  EXPECT_EQ(DecodeText("a\xFF" "b", TextEncoding::kUtf8), "a\xEF\xBF\xBD" "b");
}

TEST(BookTextTest, EncodingForTheBookRoundTrips) {
  // Windows-1252 where it can say it, so that older viewers show the text too.
  EXPECT_EQ(EncodeBookText("Pr\xC3\xA9" "face"), "Pr\xE9" "face");
  EXPECT_EQ(EncodeBookText("What\xE2\x80\x99s"), "What\x92s");
  // Greek has no Windows-1252 bytes.
  EXPECT_EQ(EncodeBookText("\xCE\xA3"), "\xCE\xA3");
  // "Ã©" in Windows-1252 is C3 A9, which reads as UTF-8 "é": it must go as UTF-8.
  EXPECT_EQ(EncodeBookText("\xC3\x83\xC2\xA9"), "\xC3\x83\xC2\xA9");
  for (const char* text : {"plain", "Pr\xC3\xA9" "face", "\xCE\xA3\xCE\xB5", "\xC3\x83\xC2\xA9",
                           "\xE2\x80\x94 \xE2\x82\xAC", "\xEF\xBB\xBF" "starts with U+FEFF", ""})
    EXPECT_EQ(DecodeBookText(EncodeBookText(text)), text) << text;
}

TEST(CaseFoldingTest, FoldsLettersOfEveryScript) {
  struct Case {
    char32_t from, to;
  };
  const Case cases[] = {{'A', 'a'},       {'z', 'z'},       {0xC9, 0xE9},     {0xC4, 0xE4},
                        {0x3A3, 0x3C3},   {0x3C2, 0x3C3},   {0x410, 0x430},   {0x212A, 'k'},
                        {0x1E9E, 0xDF},   {0xDF, 0xDF},     {0x10400, 0x10428}, {'1', '1'}};
  for (const Case& c : cases) EXPECT_EQ(FoldCase(c.from), c.to) << std::hex << static_cast<uint32_t>(c.from);
}

TEST(CaseFoldingTest, FoldsUtf8TextAndKeepsStrayBytes) {
  EXPECT_EQ(FoldUtf8("S\xC3\x89" "CURIT\xC3\x89"), "s\xC3\xA9" "curit\xC3\xA9");
  EXPECT_EQ(FoldUtf8("\xCE\xA3\xCE\xA5\xCE\xA3"), "\xCF\x83\xCF\x85\xCF\x83");
  // U+023A (2 bytes) folds to U+2C65 (3 bytes); the Kelvin sign (3 bytes) to "k".
  EXPECT_EQ(FoldUtf8("\xC8\xBA\xE2\x84\xAA"), "\xE2\xB1\xA5k");
  EXPECT_EQ(FoldUtf8("A\xFF" "B\xC3"), "a\xFF" "b\xC3");
  const std::string longAscii(1000, 'Q');
  EXPECT_EQ(FoldUtf8(longAscii + "\xC3\x89"), std::string(1000, 'q') + "\xC3\xA9");
}

TEST(CaseFoldingTest, Windows1252TableFoldsItsLetters) {
  const auto& fold = Windows1252FoldTable();
  EXPECT_EQ(fold[0xC9], 0xE9);  // É é
  EXPECT_EQ(fold[0x8A], 0x9A);  // Š š
  EXPECT_EQ(fold[0x8C], 0x9C);  // Œ œ
  EXPECT_EQ(fold[0x9F], 0xFF);  // Ÿ ÿ
  EXPECT_EQ(fold['Q'], 'q');
  EXPECT_EQ(fold[0xD7], 0xD7);  // × is no letter
  EXPECT_EQ(fold[0xDF], 0xDF);  // ß stays
  EXPECT_EQ(fold[0xB5], 0xB5);  // µ folds to Greek mu, which has no byte here
}

TEST(CharacterReferencesTest, DecodesNumericAndNamedReferences) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"ast &#8212; Abstract", "ast \xE2\x80\x94 Abstract"},
      {"&#xE9;&#XE9;&#233;", "\xC3\xA9\xC3\xA9\xC3\xA9"},
      {"&#233 forgiven", "\xC3\xA9 forgiven"},
      {"&eacute;t&eacute;", "\xC3\xA9t\xC3\xA9"},
      {"Fish &amp; Chips &lt;tag&gt; &quot;q&quot; &apos;", "Fish & Chips <tag> \"q\" '"},
      {"&Sigma;&sigma;&sigmaf;&Omega;", "\xCE\xA3\xCF\x83\xCF\x82\xCE\xA9"},
      {"&nbsp;&yuml;&euro;&mdash;&hellip;", "\xC2\xA0\xC3\xBF\xE2\x82\xAC\xE2\x80\x94\xE2\x80\xA6"},
      {"&#150;", "\xE2\x80\x93"},  // Windows-1252's en dash
      {"&#0;&#xD800;&#99999999;", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"AT&T &unknown; &amp &# &#x; &", "AT&T &unknown; &amp &# &#x; &"},
      {"&Sigmaf;", "&Sigmaf;"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeCharacterReferences(c.in), c.out) << c.in;
}

TEST(PageEncodingTest, DeclaredCharsetBeatsTheBookTextRule) {
  using Kind = PageEncoding::Kind;
  struct Case {
    const char* what;
    std::string page;
    Kind kind;
    bool declared;
  };
  const Case cases[] = {
      {"no declaration, ASCII", "<html><p>plain</p>", Kind::kWindows1252, false},
      {"no declaration, UTF-8", "<p>s\xC3\xA9" "curit\xC3\xA9</p>", Kind::kUtf8, false},
      {"no declaration, Windows-1252", "<p>s\xE9" "curit\xE9</p>", Kind::kWindows1252, false},
      {"meta charset", "<meta charset=\"UTF-8\"><p>\xE9</p>", Kind::kUtf8, true},
      {"http-equiv", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
                     "<p>\xC3\xA9</p>", Kind::kWindows1252, true},
      {"xml declaration", "<?xml version=\"1.0\" encoding=\"utf-8\"?><html>", Kind::kUtf8, true},
      {"byte order mark", "\xEF\xBB\xBF<p>x</p>", Kind::kUtf8, true},
      {"other charset", "<meta charset='ISO-8859-15'>", Kind::kOther, true},
      {"utf-16 in an ASCII page", "<meta charset=utf-16>", Kind::kUtf8, true},
      {"meta past the first 1024 bytes", std::string(1100, ' ') + "<meta charset=utf-8>\xE9",
       Kind::kWindows1252, false},
  };
  for (const Case& c : cases) {
    const PageEncoding encoding = DetectPageEncoding(c.page);
    EXPECT_EQ(encoding.kind, c.kind) << c.what;
    EXPECT_EQ(encoding.declared, c.declared) << c.what;
    EXPECT_EQ(DeclaresCharset(c.page), c.declared) << c.what;
  }
}

TEST(PageEncodingTest, ConvertsOtherCharsetsAndMarksBadBytes) {
  const std::string latin9 = "<meta charset=iso-8859-15><p>\xA4</p>";
  EXPECT_EQ(PageToUtf8(latin9, DetectPageEncoding(latin9)),
            "<meta charset=iso-8859-15><p>\xE2\x82\xAC</p>");
  const std::string badJis = "<meta charset=shift_jis>\x82\xA0\xFF";
  EXPECT_EQ(PageToUtf8(badJis, DetectPageEncoding(badJis)),
            "<meta charset=shift_jis>\xE3\x81\x82\xEF\xBF\xBD");
  // A charset nobody knows reads by the book-text rule.
  const std::string unknown = "<meta charset=x-nonsense>\xE9";
  EXPECT_EQ(PageToUtf8(unknown, DetectPageEncoding(unknown)), "<meta charset=x-nonsense>\xC3\xA9");
}

TEST(PageTitleTest, TitlesAsTheReaderSeesThem) {
  struct Case {
    const char* what;
    std::string page;
    std::string title;
  };
  const Case cases[] = {
      {"plain", "<title>Chapter 1</title>", "Chapter 1"},
      {"attributes", "<title xmlns:d=\"http://docbook.org/ns/docbook\">Pr\xC3\xA9" "face</title>",
       "Pr\xC3\xA9" "face"},
      {"references", "<TITLE>ast &#8212; Abstract Syntax Trees</TITLE>",
       "ast \xE2\x80\x94 Abstract Syntax Trees"},
      {"Windows-1252 bytes", "<title>Caf\xE9</title>", "Caf\xC3\xA9"},
      {"declared Latin-1", "<meta charset=latin1><title>\xC3\xA9</title>", "\xC3\x83\xC2\xA9"},
      {"blanks collapsed", "<title>\n  Two\r\n   lines  </title>", "Two lines"},
      {"no title", "<h1>Heading</h1>", ""},
      {"closing tag first", "</title><title>x</title>", ""},
      {"titlepage is no title", "<titlepage>no</titlepage><title>yes</title>", "yes"},
  };
  for (const Case& c : cases) EXPECT_EQ(PageTitle(c.page), c.title) << c.what;
}

}  // namespace
}  // namespace ebook
