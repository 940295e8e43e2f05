// A folder becomes a usable book with no options at all: settings and contents made for it
// from its own pages, and every setting adjustable from the command line.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "AutoToc.h"
#include "GeneratorFolders.h"
#include "PackCommand.h"
#include "RunTool.h"
#include "support/Scratch.h"
#include "SettingsMaker.h"
#include "archive/BookImage.h"
#include "settings/IniText.h"

namespace ebook {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using testing::RunTool;
using testing::Scratch;

constexpr std::string_view kWholeToolbar = "1111111111000000000000000000201110";
constexpr std::string_view kNoContentButton = "1111111110000000000000000000201110";

class AuthoringTest : public ::testing::Test {
 protected:
  AuthoringTest() { viewer = scratch.Write("viewer", "stand-in viewer program\n").string(); }

  // Builds src/ with `extra` arguments; the run is kept in `built`.
  BookImage Build(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"build", (scratch / "src").string(), "-o", book(), "--viewer",
                                     viewer};
    args.insert(args.end(), extra.begin(), extra.end());
    built = RunTool(args);
    EXPECT_EQ(built.code, kExitOk) << built.err;
    return BookImage::FromFile(book());
  }
  std::string book() const { return (scratch / "book").string(); }
  std::string Tool(const std::vector<std::string>& args) {
    const testing::ToolRun run = RunTool(args);
    EXPECT_EQ(run.code, kExitOk) << run.err;
    return run.out;
  }
  IniText Settings(const BookImage& image) { return IniText(image.ReadEntry("XSE1.QRLC")); }

  Scratch scratch;
  std::string viewer;
  testing::ToolRun built;
};

TEST_F(AuthoringTest, SphinxFolderGetsSettingsAndContentsFromItsPages) {
  testing::WriteSphinxFolder(scratch, "src");
  const BookImage image = Build();
  const IniText ini = Settings(image);
  EXPECT_EQ(ini.ReadString("cSettings", "DATA", ""), kWholeToolbar);
  EXPECT_EQ(ini.ReadString("cSettings", "home", ""), "index.html");
  EXPECT_EQ(ini.ReadString("cInfo", "title", ""), "Demo 1.0 documentation");
  EXPECT_TRUE(ini.ReadBool("cEve", "bookmark", false));
  // A number of its own, kept when the folder is built again, so that bookmarks stay.
  const std::string number = ini.ReadString("cInfo", "enumber", "");
  EXPECT_EQ(number.size(), 38u);
  EXPECT_EQ(number.front(), '{');
  EXPECT_EQ(Settings(Build()).ReadString("cInfo", "enumber", ""), number);
  EXPECT_NE(BookNumberFor("/docs/other"), number);
  EXPECT_EQ(ini.ReadInteger("cEve", "width", 0), 1024);
  EXPECT_EQ(ini.ReadInteger("cEve", "height", 0), 768);
  EXPECT_TRUE(ini.ReadBool("PFiles", "UseTOC", false));
  EXPECT_TRUE(ini.ReadBool("PFiles", "UseTOCauto", false));
  EXPECT_EQ(image.ReadEntry("XSE1.QRLC").find("\n"), image.ReadEntry("XSE1.QRLC").find("\r\n") + 1);

  // The toctree, not the navigation bar; captions as the reader sees them; the start page first.
  EXPECT_EQ(Tool({"toc", book()}),
            "Demo 1.0 documentation\tindex.html\n"
            "What\xE2\x80\x99s new\tintro.html\n"
            "  First steps\tintro.html#first-steps\n"
            "API\tapi/index.html\n"
            "  Core module\tapi/core.html\n");
  EXPECT_THAT(built.out, HasSubstr("5 contents nodes from the lists of index.html"));
  // Stored in the book's 8-bit text, Windows-1252 where it can be.
  EXPECT_THAT(image.ReadEntry("XTOC.QRLC"), HasSubstr("What\x92s new"));

  // What the viewer would serve is not reported: "?v=" style sheets, "/" root links, anchors.
  const testing::ToolRun check = RunTool({"check", book()});
  EXPECT_EQ(check.code, kExitOk) << check.out;
  EXPECT_THAT(check.out, HasSubstr(": 0 errors, 0 warnings"));
}

TEST_F(AuthoringTest, DocBookFolderGetsItsDefinitionListContents) {
  testing::WriteDocBookFolder(scratch, "src");
  const BookImage image = Build();
  EXPECT_EQ(Settings(image).ReadString("cInfo", "title", ""), "The Guide");
  EXPECT_EQ(Tool({"toc", book()}),
            "The Guide\tindex.html\n"
            "Pr\xC3\xA9"
            "face\tpr01.html\n"
            "1. Getting Started\tch01.html\n"
            "  1.1. Installing\tch01s01.html\n"
            "  1.2. First & last\tch01s02.html#idm7\n"
            "2. Using\tch02.html\n");
  const testing::ToolRun check = RunTool({"check", book()});
  EXPECT_EQ(check.code, kExitOk) << check.out;
  EXPECT_THAT(check.out, HasSubstr(": 0 errors, 0 warnings"));
}

TEST_F(AuthoringTest, FolderWithoutListsGetsTitlesAndHeadings) {
  scratch.Write("src/a.html",
                "<title>Alpha</title><h1 id=\"alpha\">Alpha</h1><h2 id=\"s1\">Part one</h2>"
                "<h2>Unreachable</h2>");
  scratch.Write("src/index.html", "<title>Home</title><p><a href=\"a.html\">a</a></p>");
  scratch.Write("src/b/c.html",
                "<h1>Sea<a name=\"x\"></a></h1><h2 id=\"deep\">Deep &amp; wide</h2>");
  scratch.Write("src/b/d.html", "<p>no title, no heading</p>");
  Build();
  EXPECT_EQ(Tool({"toc", book()}),
            "Home\tindex.html\n"
            "Alpha\ta.html\n"
            "  Part one\ta.html#s1\n"
            "Sea\tb/c.html\n"
            "  Deep & wide\tb/c.html#deep\n"
            "d.html\tb/d.html\n");
  EXPECT_THAT(built.out, HasSubstr("from page titles and headings"));
}

TEST_F(AuthoringTest, TocFromFolderRoundTripsThroughBuild) {
  for (const bool sphinx : {true, false}) {
    SCOPED_TRACE(sphinx ? "Sphinx" : "DocBook");
    std::filesystem::remove_all(scratch / "src");
    sphinx ? testing::WriteSphinxFolder(scratch, "src")
           : testing::WriteDocBookFolder(scratch, "src");
    const std::string printed = Tool({"toc", "--from", (scratch / "src").string()});
    ASSERT_FALSE(printed.empty());
    // What a build makes by itself, and what it makes from the printed text, show alike.
    Build();
    EXPECT_EQ(Tool({"toc", book()}), printed);
    Build({"--toc", scratch.Write("edited.toc.txt", printed).string()});
    EXPECT_EQ(Tool({"toc", book()}), printed);
  }
}

TEST_F(AuthoringTest, StartPageIsTheFoldersIndexElseItsFirstPage) {
  const struct {
    std::vector<std::string> pages;
    std::string start;
  } cases[] = {
      {{"a.html", "Index.HTM", "default.htm"}, "Index.HTM"},
      {{"a.html", "default.htm", "sub/index.html"}, "default.htm"},
      {{"guide.html", "pics/a.png"}, "guide.html"},
      {{"sub/b.html", "z.htm", "c.html"}, "c.html"},  // the top folder's first
      {{"notes.txt"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    std::filesystem::remove_all(scratch / "src");
    for (const std::string& page : c.pages) scratch.Write("src/" + page, "<p>" + page + "</p>");
    const IniText ini = Settings(Build({"--toc", "none"}));
    EXPECT_EQ(ini.ReadString("cSettings", "home", ""), c.start);
    // No contents: no Content button, no panel; a title all the same.
    EXPECT_EQ(ini.ReadString("cSettings", "DATA", ""), kNoContentButton);
    EXPECT_FALSE(ini.Value("PFiles", "UseTOC"));
    EXPECT_EQ(ini.ReadString("cInfo", "title", ""), "src");
  }
}

TEST_F(AuthoringTest, OnePageFolderGetsNoContents) {
  scratch.Write("src/index.html", "<title>Only</title>");
  const BookImage image = Build();
  EXPECT_EQ(image.FindEntry("XTOC.QRLC"), nullptr);
  EXPECT_EQ(Settings(image).ReadString("cSettings", "DATA", ""), kNoContentButton);
}

TEST_F(AuthoringTest, CommandLineSetsAnyKey) {
  testing::WriteSphinxFolder(scratch, "src");
  const BookImage image =
      Build({"--title",
             "\xC3\x9Cn\xC3\xAF"
             "code Guide",
             "--start", "intro.html", "--set", "cEve.width=800", "--set", "CTOOL.BL1=Go back",
             "--set", "search.2=Find here", "--set", "cEve.widht=900"});
  const IniText ini = Settings(image);
  EXPECT_EQ(ini.ReadInteger("cEve", "width", 0), 800);
  EXPECT_EQ(ini.ReadInteger("cEve", "height", 0), 768);  // the rest as made
  EXPECT_EQ(ini.ReadString("cTool", "BL1", ""), "Go back");
  EXPECT_EQ(ini.ReadString("search", "2", ""), "Find here");
  EXPECT_EQ(ini.ReadString("cSettings", "home", ""), "intro.html");
  // Stored as the book's text, shown as typed.
  EXPECT_EQ(ini.ReadString("cInfo", "title", ""),
            "\xDCn\xEF"
            "code Guide");
  EXPECT_THAT(Tool({"settings", book()}), HasSubstr("cInfo/title=\xC3\x9Cn\xC3\xAF"
                                                    "code Guide\n"));
  EXPECT_THAT(built.err, HasSubstr("warning: --set cEve.widht: not a setting the viewer reads"));
  EXPECT_THAT(built.err, Not(HasSubstr("BL1")));
}

TEST_F(AuthoringTest, SettingsFileWithLfLinesIsStoredWithCrLfAndOverridden) {
  scratch.Write("src/index.html", "x");
  const std::string file =
      scratch
          .Write("book.ini",
                 "[cSettings]\nDATA=1111111111000001000000000000201110\nhome=index.html\n[cEve]\n"
                 "width=640\nwidht=700\n[cInfo]\ntitle=Mine\n")
          .string();
  const BookImage image =
      Build({"--settings", file, "--set", "cEve.width=900", "--title", "Yours"});
  EXPECT_EQ(image.ReadEntry("XSE1.QRLC"),
            "[cSettings]\r\nDATA=1111111111000001000000000000201110\r\nhome=index.html\r\n"
            "[cEve]\r\nwidth=900\r\nwidht=700\r\n[cInfo]\r\ntitle=Yours\r\n");
  EXPECT_THAT(built.err,
              HasSubstr("book.ini, line 6: cEve/widht is not a setting the viewer reads"));
}

// Contents nodes name pages relative to the book's top, as links written in the contents page
// lead: query and fragment kept, letter case as written, nothing outside the book.
TEST(BookPageName, LinksOfAContentsPageBecomePageNames) {
  const struct {
    std::string from, href;
    std::optional<std::string> page;
  } cases[] = {
      {"sub/toc.html", "../a.html#x", "a.html#x"},
      {"sub/toc.html", "Part/B.html?v=1", "sub/Part/B.html?v=1"},
      {"sub/toc.html", "#here", "sub/toc.html#here"},
      {"sub/toc.html", "/top.html", "top.html"},
      {"sub/toc.html", "./", "sub/"},
      {"sub/toc.html", " .//c.html ", "sub/c.html"},
      {"toc.html", "../out.html", std::nullopt},
      {"toc.html", "https://example.com/", std::nullopt},
      {"toc.html", "//example.com/a.html", std::nullopt},
      {"toc.html", "mailto:a@b.c", std::nullopt},
      {"toc.html", "x.html#DO#EXIT#", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(BookPageName(c.from, c.href), c.page) << c.href;
}

// A key set from the command line is the one the viewer then reads, wherever the file had it.
TEST(SetSettingsValue, ReplacesTheLineTheViewerReadsElseAddsOne) {
  const struct {
    std::string text, section, key, stored;
  } cases[] = {
      {"[cEve]\r\nwidth=1\r\n", "cEve", "width", "[cEve]\r\nwidth=9\r\n"},
      {"[CEVE]\r\n WIDTH = 1\r\n", "cEve", "width", "[CEVE]\r\nwidth=9\r\n"},
      // The first line of a key wins, also when its section is written twice.
      {"[cEve]\r\na=1\r\n[x]\r\n[cEve]\r\nwidth=1\r\nwidth=2\r\n", "cEve", "width",
       "[cEve]\r\na=1\r\n[x]\r\n[cEve]\r\nwidth=9\r\nwidth=2\r\n"},
      // A comment is no key; a new key goes to the end of the section's first run of lines.
      {"[cEve]\r\n;width=1\r\nheight=2\r\n\r\n[cInfo]\r\n", "cEve", "width",
       "[cEve]\r\n;width=1\r\nheight=2\r\nwidth=9\r\n\r\n[cInfo]\r\n"},
      {"[cInfo]\r\ntitle=x\r\n", "cEve", "width", "[cInfo]\r\ntitle=x\r\n[cEve]\r\nwidth=9\r\n"},
      {"", "cEve", "width", "[cEve]\r\nwidth=9\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string stored = SetSettingsValue(c.text, c.section, c.key, "9");
    EXPECT_EQ(stored, c.stored);
    EXPECT_EQ(IniText(stored).ReadInteger(c.section, c.key, 0), 9);
  }
}

TEST_F(AuthoringTest, NoSettingsAtAllWhenAsked) {
  scratch.Write("src/index.html", "x");
  EXPECT_EQ(Build({"--settings", "none"}).FindEntry("XSE1.QRLC"), nullptr);
  const testing::ToolRun run = RunTool({"build", (scratch / "src").string(), "-o", book(),
                                        "--viewer", viewer, "--settings", "none", "--title", "x"});
  EXPECT_EQ(run.code, kExitFailed);
  EXPECT_THAT(run.err, HasSubstr("--settings none"));
}

TEST_F(AuthoringTest, CompressionLevelChangesTheSizeNotTheEntries) {
  testing::WriteSphinxFolder(scratch, "src");
  scratch.Write("src/long.txt", std::string(200000, 'a'));
  std::vector<std::string> contents;
  std::vector<size_t> sizes;
  for (const char* level : {"0", "9"}) {
    const BookImage image = Build({"--level", level});
    sizes.push_back(image.bytes().size());
    contents.push_back(image.ReadEntry("LONG.TXT") + Tool({"list", book()}));
  }
  EXPECT_EQ(contents[0], contents[1]);
  EXPECT_GT(sizes[0], sizes[1] + 150000);
  const testing::ToolRun bad =
      RunTool({"build", (scratch / "src").string(), "-o", book(), "--level", "10"});
  EXPECT_EQ(bad.code, kExitUsage);
  EXPECT_THAT(bad.err, HasSubstr("--level takes a compression level from 0 to 9"));
}

TEST_F(AuthoringTest, EveryCommandHasHelpAndVersion) {
  for (const char* command :
       {"build", "check", "toc", "extract", "list", "cat", "settings", "search"}) {
    SCOPED_TRACE(command);
    const testing::ToolRun help = RunTool({command, "--help"});
    EXPECT_EQ(help.code, kExitOk);
    EXPECT_THAT(help.out, HasSubstr(std::string("ebook-pack ") + command));
    const testing::ToolRun version = RunTool({command, "--version"});
    EXPECT_EQ(version.out, PackVersion() + "\n");
  }
  EXPECT_THAT(RunTool({"--version"}).out, HasSubstr("ebook-pack (QUIREL eBook) 0."));
}

}  // namespace
}  // namespace ebook
