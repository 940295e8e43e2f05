// Books built from a folder read back, with the viewer's own reader, as the author wrote them.

#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "BookBuilder.h"
#include "BookFiles.h"
#include "InternalEntryFiles.h"
#include "PackError.h"
#include "RunTool.h"
#include "support/Scratch.h"
#include "archive/BookImage.h"
#include "contents/TocStream.h"
#include "contents/TocText.h"
#include "settings/IniText.h"

namespace ebook {
namespace {

using testing::RunTool;
using testing::Scratch;
using ::testing::HasSubstr;

const std::string kViewer = "stand-in viewer program\n";
const std::string kBitmap = std::string("BM") + std::string(60, '\x7F');
// Bytes every archive must carry through: NUL, the name separator, both markers.
const std::string kBinary = std::string("\0\xB6#1!#!2!#\xFF", 11);

// A source folder and the files named on the command line, in one scratch folder.
class BuildBookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch.Write("viewer", kViewer);
    options.source = scratch / "src";
    options.output = scratch / "out" / "book";
    options.viewer = scratch / "viewer";
    std::filesystem::create_directories(scratch / "out");
    std::filesystem::create_directories(options.source);
  }

  void Source(std::string_view name, std::string_view content) {
    scratch.Write("src/" + std::string(name), content);
  }

  BookImage Book() const { return BookImage::FromFile(options.output.string()); }

  Scratch scratch;
  BuildOptions options;
};

TEST_F(BuildBookTest, StoresEveryPartUnderItsNameInBookOrder) {
  Source("index.html", "<p>start</p>");
  Source("Zebra.txt", "z");
  Source("pics/cover.png", kBinary);
  Source("pics/deeper/a_b.html", "a_b");
  Source("pics/deeper/ab.html", "ab");
  Source("chapters/one.html", "<p>one</p>");
  Source("empty.css", "");
  const std::string settings =
      "[cSettings]\nDATA=1111111111000001000000000000201110\n[cEve]\nwidth=800\n[PFiles]\nUseTOC=1\n";
  options.settings = scratch.Write("book.ini", settings);
  const std::string toc = "Start\tindex.html\n  One\tchapters/one.html\nPart\t\n";
  options.toc = scratch.Write("toc.txt", toc);
  options.splash = scratch.Write("splash.bmp", kBitmap + "splash");
  options.splashSeconds = "03";
  options.logo = scratch.Write("logo.bmp", kBitmap + "logo");
  scratch.Write("buttons/B1.bmp", kBitmap + "1");
  scratch.Write("buttons/b2.BMP", kBitmap + "2");
  scratch.Write("buttons/B10.bmp", kBitmap + "10");
  scratch.Write("buttons/readme.txt", "not a button");
  options.buttons = scratch / "buttons";

  const BuildResult result = BuildBook(options);
  EXPECT_TRUE(result.warnings.empty()) << result.warnings.front();

  const BookImage book = Book();
  EXPECT_EQ(book.EnumerateEntries(),
            (std::vector<std::string>{"XSEI.QRLC", "XSE1.QRLC", "XSE0.QRLC", "B1.QRLC", "B10.QRLC",
                                      "B2.QRLC", "LOGO.QRLC", "XTOC.QRLC", "CHAPTERS/ONE.HTML",
                                      "PICS/COVER.PNG", "PICS/DEEPER/A_B.HTML", "PICS/DEEPER/AB.HTML",
                                      "EMPTY.CSS", "INDEX.HTML", "ZEBRA.TXT"}));
  EXPECT_EQ(result.entries, 15u);
  EXPECT_EQ(book.bytes().substr(0, kViewer.size()), kViewer);
  EXPECT_EQ(result.bytes, book.bytes().size());

  EXPECT_EQ(book.ReadEntry("pics/cover.png"), kBinary);
  EXPECT_EQ(book.ReadEntry("index.html"), "<p>start</p>");
  EXPECT_EQ(book.ReadEntry("XSEI.QRLC"), "3");
  EXPECT_EQ(book.ReadEntry("XSE0.QRLC"), kBitmap + "splash");
  EXPECT_EQ(book.ReadEntry("LOGO.QRLC"), kBitmap + "logo");
  EXPECT_EQ(book.ReadEntry("B2.QRLC"), kBitmap + "2");
  EXPECT_EQ(book.ReadEntry("B10.QRLC"), kBitmap + "10");

  // The viewer splits settings at CR LF only: the author's LF lines must arrive as CR LF.
  const std::string stored = book.ReadEntry("XSE1.QRLC");
  EXPECT_EQ(stored,
            "[cSettings]\r\nDATA=1111111111000001000000000000201110\r\n[cEve]\r\nwidth=800\r\n"
            "[PFiles]\r\nUseTOC=1\r\n");
  EXPECT_EQ(IniText(stored).ReadInteger("cEve", "width", 640), 800);

  const TocTree tree = ReadTocStream(book.ReadEntry("XTOC.QRLC"));
  EXPECT_FALSE(tree.damaged);
  EXPECT_EQ(FormatTocText(tree), toc);

  struct stat info {};
  ASSERT_EQ(stat(options.output.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0755u);
}

TEST(SettingsLineEnds, BecomeCrLfExactlyOnce) {
  const struct {
    std::string_view written, stored;
  } cases[] = {
      {"a\nb\n", "a\r\nb\r\n"},
      {"a\r\nb\r\n", "a\r\nb\r\n"},  // already CR LF: no CR CR LF
      {"a\r\nb\nc", "a\r\nb\r\nc"},
      {"\n\n", "\r\n\r\n"},
      {"a\rb", "a\rb"},              // a lone CR is left to the viewer's reading
  };
  for (const auto& c : cases) EXPECT_EQ(ToCrLf(c.written), c.stored) << c.written;
}

TEST_F(BuildBookTest, BookWrittenIntoItsSourceFolderIsNotPackedAgain) {
  Source("index.html", "x");
  options.output = options.source / "book";
  BuildBook(options);
  BuildBook(options);
  EXPECT_EQ(Book().EnumerateEntries(), (std::vector<std::string>{"XSE1.QRLC", "INDEX.HTML"}));
}

TEST_F(BuildBookTest, RebuildReplacesTheBookAndLeavesNoTemporaryFiles) {
  Source("index.html", "first");
  BuildBook(options);
  Source("index.html", "second");
  BuildBook(options);
  EXPECT_EQ(Book().ReadEntry("INDEX.HTML"), "second");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch / "out"),
                          std::filesystem::directory_iterator()),
            1);
}

// The viewer decodes the escapes a browser writes, so only "#" and "?" need the author's care:
// a link that writes them as they are ends the name there.
TEST_F(BuildBookTest, NamesALinkCannotWriteAsTheyAreAreWarnedAbout) {
  const struct {
    std::string name;
    bool warned;
  } cases[] = {
      {"plain-name_1.0~x.html", false}, {"with space.html", false}, {"sub/Dir/page.htm", false},
      {"caf\xC3\xA9.html", false},        {"a+b.html", false},        {"x%20y.html", false},
      {"what?.html", true},               {"it's.html", false},       {"a#b.html", true},
  };
  for (const auto& c : cases) Source(c.name, c.name);
  const BuildResult result = BuildBook(options);
  const BookImage book = Book();
  for (const auto& c : cases) {
    EXPECT_EQ(book.ReadEntry(c.name), c.name);
    int mentions = 0;
    for (const std::string& warning : result.warnings)
      mentions += warning.find("\"" + c.name + "\"") != std::string::npos;
    EXPECT_EQ(mentions, c.warned ? 1 : 0) << c.name;
  }
}

TEST_F(BuildBookTest, WarnsAboutPagesTheBookDoesNotHold) {
  Source("index.html", "x");
  Source("a/b.html", "x");
  options.settings =
      scratch.Write("book.ini", "[cSettings]\nDATA=1111\nhome=missing.html\n[PFiles]\nUseTOC=1\n");
  options.toc = scratch.Write("toc.txt",
                              "Top\tindex.html\n\n  Here\ta/B.html#part\n  Gone\ta/c.html\nNone\n");
  const BuildResult result = BuildBook(options);
  ASSERT_EQ(result.warnings.size(), 3u);
  EXPECT_THAT(result.warnings[0], HasSubstr("DATA holds 4 switches"));
  EXPECT_THAT(result.warnings[1], HasSubstr("\"missing.html\""));
  EXPECT_THAT(result.warnings[2], HasSubstr("toc.txt, line 4: page \"a/c.html\""));
}

TEST_F(BuildBookTest, CommandPrintsWarningsAndSucceeds) {
  Source("a#b.html", "x");
  const testing::ToolRun run = RunTool({"build", options.source.string(), "-o",
                                        options.output.string(), "--viewer", options.viewer.string()});
  EXPECT_EQ(run.code, 0);
  EXPECT_THAT(run.err, HasSubstr("warning: \"a#b.html\""));
  EXPECT_THAT(run.out, HasSubstr("2 entries"));  // the page and the settings made for it
}

}  // namespace
}  // namespace ebook
