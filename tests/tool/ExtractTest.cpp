// ebook-pack extract gives back what build makes a book from, and the build command it prints
// makes a book with the same entries.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "BookBuilder.h"
#include "PackCommand.h"
#include "RunTool.h"
#include "support/Scratch.h"
#include "archive/ArchiveWriter.h"
#include "archive/BookImage.h"

namespace ebook {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::RunTool;
using testing::Scratch;

const std::string kBitmap = std::string("BM") + std::string(60, '\x7F');

std::vector<std::pair<std::string, std::string>> Entries(const std::string& path) {
  const BookImage book = BookImage::FromFile(path);
  std::vector<std::pair<std::string, std::string>> entries;
  for (const IndexedEntry& entry : book.index().entries())
    entries.emplace_back(std::string(entry.name), book.ReadEntry(entry.name));
  return entries;
}

// The printed command, split at its blanks (the scratch paths hold none), run in-process.
testing::ToolRun RunPrinted(const std::string& out, const std::string& viewer) {
  const std::string command =
      out.substr(out.find('\n') + 1, out.find('\n', out.find('\n') + 1) - out.find('\n') - 1);
  std::istringstream words(command);
  std::vector<std::string> args;
  for (std::string word; words >> word;) args.push_back(word);
  EXPECT_EQ(args.at(0), "ebook-pack");
  args.erase(args.begin());
  args.insert(args.end(), {"--viewer", viewer});
  return RunTool(args);
}

class ExtractTest : public ::testing::Test {
 protected:
  ExtractTest() { viewer = scratch.Write("viewer", "stand-in viewer program\n").string(); }
  Scratch scratch;
  std::string viewer;
};

TEST_F(ExtractTest, EveryPartComesBackAndBuildsTheSameBook) {
  scratch.Write("src/index.html", "<p>start</p>");
  scratch.Write("src/pics/cover.png", std::string("\0\xB6#1!#!2!#", 9));
  scratch.Write("src/empty.txt", "");
  BuildOptions options;
  options.source = scratch / "src";
  options.output = scratch / "book";
  options.viewer = viewer;
  options.settings = scratch.Write("book.ini",
                                   "[cSettings]\r\nDATA=1111111111000001000000000000201110\r\n"
                                   "home=index.html\r\n[PFiles]\r\nUseTOC=1\r\n");
  // Captions in Windows-1252 and in UTF-8 alike come back byte for byte.
  options.toc = scratch.Write("toc.txt",
                              "Pr\xE9"
                              "face\tindex.html\n  Caf\xC3\xA9\tpics/cover.png\n");
  options.logo = scratch.Write("logo.bmp", kBitmap + "logo");
  options.splash = scratch.Write("splash.bmp", kBitmap + "splash");
  options.splashSeconds = "4";
  scratch.Write("buttons/B1.bmp", kBitmap + "1");
  scratch.Write("buttons/B10.bmp", kBitmap + "10");
  options.buttons = scratch / "buttons";
  BuildBook(options);

  const fs::path out = scratch / "out";
  const testing::ToolRun run = RunTool({"extract", options.output.string(), out.string()});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_THAT(run.out, HasSubstr(": 3 book files; build the same book with:\n"));
  EXPECT_TRUE(fs::exists(out / "book" / "INDEX.HTML"));
  EXPECT_TRUE(fs::exists(out / "book" / "PICS" / "COVER.PNG"));
  EXPECT_TRUE(fs::exists(out / "book" / "EMPTY.TXT"));
  EXPECT_TRUE(fs::exists(out / "settings.ini"));
  EXPECT_TRUE(fs::exists(out / "contents.txt"));
  for (const char* picture : {"logo.bmp", "splash.bmp", "B1.bmp", "B10.bmp"})
    EXPECT_TRUE(fs::exists(out / "pictures" / picture)) << picture;

  const testing::ToolRun rebuilt = RunPrinted(run.out, viewer);
  ASSERT_EQ(rebuilt.code, kExitOk) << rebuilt.err;
  EXPECT_EQ(rebuilt.err, "");
  EXPECT_EQ(Entries(options.output.string() + ".rebuilt"), Entries(options.output.string()));
}

TEST_F(ExtractTest, BookWithoutSettingsOrContentsStaysWithout) {
  const std::string book =
      scratch.Write("book", EncodeArchive({{"A.HTML", "<a href=b.html>b</a>"}, {"B.HTML", "b"}}))
          .string();
  const testing::ToolRun run = RunTool({"extract", book, (scratch / "out").string()});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  EXPECT_THAT(run.out, HasSubstr("--settings none --toc none"));
  ASSERT_EQ(RunPrinted(run.out, viewer).code, kExitOk);
  EXPECT_EQ(Entries(book + ".rebuilt"), Entries(book));
}

TEST_F(ExtractTest, RefusesAFolderThatHoldsFiles) {
  const std::string book = scratch.Write("book", EncodeArchive({{"A.HTML", "a"}})).string();
  scratch.Write("out/mine.txt", "keep");
  const testing::ToolRun run = RunTool({"extract", book, (scratch / "out").string()});
  EXPECT_EQ(run.code, kExitFailed);
  EXPECT_THAT(run.err, HasSubstr("not empty"));
  EXPECT_FALSE(fs::exists(scratch / "out" / "book"));
}

}  // namespace
}  // namespace ebook
