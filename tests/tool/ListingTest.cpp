// list, cat, settings and toc on fixture books made by the same writer the build uses.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "PackCommand.h"
#include "RunTool.h"
#include "support/Scratch.h"
#include "archive/ArchiveWriter.h"
#include "contents/TocStream.h"
#include "contents/TocText.h"
#include "settings/OptionString.h"
#include "settings/SettingsKeys.h"

namespace ebook {
namespace {

using testing::RunTool;
using testing::Scratch;
using ::testing::HasSubstr;

const std::string kToc = "Cover\tindex.html\n  Part one\tone/a.html#top\n    Deep\tone/b.html\nNo page\t\n";
const std::string kBinary = std::string("PNG\0\xB6#1!#\xFF", 10);

class ListingTest : public ::testing::Test {
 protected:
  // A bare archive (no viewer in front), which the tool reads from its first byte.
  std::string Book(std::vector<BookEntry> entries, std::string tail = {}) {
    SortInBookOrder(entries);
    return scratch.Write("book" + std::to_string(++books), EncodeArchive(entries) + tail).string();
  }
  std::string SampleBook() {
    return Book({{"index.html", "<p>start</p>"},
                 {"one/pic.png", kBinary},
                 {"XSE1.QRLC", "[cEve]\r\nwidth=$320\r\nbookmark=-1\r\n"},
                 {"XTOC.QRLC", WriteTocStream(ParseTocText(kToc))}});
  }

  Scratch scratch;
  int books = 0;
};

TEST_F(ListingTest, ListShowsEntriesInArchiveOrder) {
  const testing::ToolRun run = RunTool({"list", SampleBook()});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_EQ(run.out, "XSE1.QRLC\nXTOC.QRLC\nONE/PIC.PNG\nINDEX.HTML\n");
}

TEST_F(ListingTest, CatReadsAsTheViewerReads) {
  const std::string book = Book({{"index.html", "<p>start</p>"}, {"one/pic.png", kBinary}},
                                EncodeRawEntry("BAD.HTML", "not zlib at all"));
  const struct {
    std::string name, out, err;
    int code;
  } cases[] = {
      {"one/pic.png", kBinary, "", kExitOk},             // bytes pass through untouched
      {"INDEX.HTML", "<p>start</p>", "", kExitOk},
      {"index.html", "<p>start</p>", "", kExitOk},       // asked for in lower case
      {"missing.html", "", "", kExitOk},                 // missing reads as empty
      {"bad.html", "", "data error", kExitFailed},
  };
  for (const auto& c : cases) {
    const testing::ToolRun run = RunTool({"cat", book, c.name});
    EXPECT_EQ(run.code, c.code) << c.name;
    EXPECT_EQ(run.out, c.out) << c.name;
    if (c.err.empty()) EXPECT_EQ(run.err, "") << c.name;
    else EXPECT_THAT(run.err, HasSubstr(c.err)) << c.name;
  }
}

TEST_F(ListingTest, SettingsShowEveryKeyAfterDefaultsThenTheSwitches) {
  const std::string ini =
      "[CEVE]\r\nWIDTH=0x320\r\nbookmark=-1\r\nheight=tall\r\n"
      "[cInfo]\r\ntitle=  Spaced  \r\nabout=a=b\r\n"
      "[cSettings]\r\nDATA=1101001110000002000000000000221110\r\n"
      "[PFiles]\r\nUseTOC=true\r\n";
  const testing::ToolRun run = RunTool({"settings", Book({{"XSE1.QRLC", ini}})});
  ASSERT_EQ(run.code, kExitOk);

  std::vector<std::string> lines;
  std::istringstream in(run.out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  const auto keys = SettingsKeys();
  const auto described = DescribeOptionString(OptionString("1101001110000002000000000000221110"));
  ASSERT_EQ(lines.size(), keys.size() + described.size());
  for (size_t i = 0; i < keys.size(); ++i)
    EXPECT_EQ(lines[i].substr(0, lines[i].find('=')),
              std::string(keys[i].section) + "/" + std::string(keys[i].key));
  EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(keys.size()), lines.end()),
            described);

  for (const char* expected : {"cEve/width=800", "cEve/bookmark=1", "cEve/height=480",
                               "cInfo/title=Spaced", "cInfo/about=a=b", "PFiles/UseTOC=0",
                               "cTool/buttonwidth=48", "search/5=Close", "cEve/start="})
    EXPECT_THAT(run.out, HasSubstr(std::string("\n") + expected + "\n"));
}

TEST_F(ListingTest, SettingsOfABookWithoutThemAreTheDefaults) {
  const testing::ToolRun run = RunTool({"settings", Book({{"index.html", "x"}})});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_THAT(run.out, HasSubstr("cInfo/title=QUIREL eBook\n"));
  EXPECT_THAT(run.out, HasSubstr("cEve/width=640\n"));
  EXPECT_THAT(run.out, HasSubstr("cSettings/DATA=\n"));
}

TEST_F(ListingTest, TocPrintsTheTextTheBuildReads) {
  const testing::ToolRun run = RunTool({"toc", SampleBook()});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_EQ(run.out, kToc);

  const testing::ToolRun none = RunTool({"toc", Book({{"index.html", "x"}})});
  EXPECT_EQ(none.code, kExitOk);
  EXPECT_EQ(none.out, "");
}

TEST_F(ListingTest, DamagedTocShowsWhatWasReadAndFails) {
  std::string stream = WriteTocStream(ParseTocText(kToc));
  stream.resize(stream.size() - 700);  // into the last nodes' data
  const testing::ToolRun run = RunTool({"toc", Book({{"XTOC.QRLC", stream}})});
  EXPECT_EQ(run.code, kExitFailed);
  EXPECT_THAT(run.out, HasSubstr("Cover\tindex.html\n"));
  EXPECT_THAT(run.err, HasSubstr("damaged"));
}

TEST_F(ListingTest, MissingBookIsNamed) {
  const std::string path = (scratch / "no-such-book").string();
  for (const char* command : {"list", "settings", "toc"}) {
    const testing::ToolRun run = RunTool({command, path});
    EXPECT_EQ(run.code, kExitFailed) << command;
    EXPECT_THAT(run.err, HasSubstr(path)) << command;
  }
}

TEST_F(ListingTest, SearchListsPagesByTitleThenTheCount) {
  const std::string book =
      Book({{"index.html", "<title>Start</title><p>Quetzal here</p>"},
            {"one/a.html", "<p>no bird</p>"},
            {"one/b.txt", "a QUETZAL in text"}});
  const testing::ToolRun run = RunTool({"search", book, "  quetzal "});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_EQ(run.out, "ONE/B.TXT\tONE/B.TXT\nINDEX.HTML\tStart\n2 Pages found\n");
  EXPECT_EQ(RunTool({"search", book}).code, kExitUsage);
}

// Texts come out as the viewer shows them: Windows-1252 and UTF-8 alike print as UTF-8.
TEST_F(ListingTest, TextsPrintAsTheViewerShowsThem) {
  const std::string toc = "Pr\xC3\xA9" "face\tindex.html\n  Caf\xE9\tcafe.html\n";
  TocTree tree = ParseTocText(toc);
  const std::string book =
      Book({{"index.html", "<p>start</p>"},
            {"XSE1.QRLC", "[cInfo]\r\ntitle=Caf\xE9 Guide\r\nauthor=Jos\xC3\xA9\r\n"},
            {"XTOC.QRLC", WriteTocStream(tree)}});
  const testing::ToolRun settings = RunTool({"settings", book});
  EXPECT_THAT(settings.out, HasSubstr("cInfo/title=Caf\xC3\xA9 Guide\n"));
  EXPECT_THAT(settings.out, HasSubstr("cInfo/author=Jos\xC3\xA9\n"));
  const testing::ToolRun contents = RunTool({"toc", book});
  EXPECT_EQ(contents.out, "Pr\xC3\xA9" "face\tindex.html\n  Caf\xC3\xA9\tcafe.html\n");
}

}  // namespace
}  // namespace ebook
