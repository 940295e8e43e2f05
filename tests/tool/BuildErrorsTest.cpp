// Bad input stops the build with a message that names the file at fault, and leaves the
// book that was there before untouched.

#include <unistd.h>

#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "BookFiles.h"
#include "PackCommand.h"
#include "RunTool.h"
#include "support/Scratch.h"

namespace ebook {
namespace {

namespace fs = std::filesystem;
using testing::RunTool;
using testing::Scratch;
using ::testing::HasSubstr;

const std::string kOldBook = "the book built before";

struct BadInput {
  std::string what;
  // Spoils the scratch folder and adds command-line arguments; returns the text the message
  // must hold (the file, and the line where there is one).
  std::function<std::string(const Scratch&, std::vector<std::string>&)> spoil;
};

std::vector<BadInput> BadInputs() {
  using Args = std::vector<std::string>;
  using S = const Scratch&;
  return {
      {"missing source folder",
       [](S s, Args&) { fs::remove_all(s / "src"); return (s / "src").string(); }},
      {"source that is a file",
       [](S s, Args&) { fs::remove_all(s / "src"); s.Write("src", "x"); return (s / "src").string(); }},
      {"file that cannot be read (dangling link)",
       [](S s, Args&) {
         fs::create_symlink(s / "nowhere.html", s / "src" / "gone.html");
         return (s / "src" / "gone.html").string();
       }},
      {"name holding the byte 0xB6",
       [](S s, Args&) { s.Write("src/sch\xC3\xB6n.html", "x"); return std::string("sch\xC3\xB6n.html"); }},
      {"two names stored alike",
       [](S s, Args&) { s.Write("src/Index.html", "x"); return std::string("\"Index.html\""); }},
      {"contents line indented too deep",
       [](S s, Args& a) {
         a.insert(a.end(), {"--toc", s.Write("toc.txt", "Top\tindex.html\n\n      Deep\tindex.html\n").string()});
         return (s / "toc.txt").string() + ", line 3";
       }},
      {"contents line with odd indentation",
       [](S s, Args& a) {
         a.insert(a.end(), {"--toc", s.Write("toc.txt", "Top\tindex.html\n Odd\tindex.html\n").string()});
         return (s / "toc.txt").string() + ", line 2";
       }},
      {"missing contents file",
       [](S s, Args& a) { a.insert(a.end(), {"--toc", (s / "no.txt").string()}); return (s / "no.txt").string(); }},
      {"missing settings file",
       [](S s, Args& a) { a.insert(a.end(), {"--settings", (s / "no.ini").string()}); return (s / "no.ini").string(); }},
      {"settings file that is a folder",
       [](S s, Args& a) { a.insert(a.end(), {"--settings", (s / "src").string()}); return (s / "src").string(); }},
      {"splash time with a unit",
       [](S s, Args& a) {
         a.insert(a.end(), {"--splash", s.Write("s.bmp", "BM").string(), "--splash-seconds", "2s"});
         return std::string("\"2s\"");
       }},
      {"negative splash time",
       [](S s, Args& a) {
         a.insert(a.end(), {"--splash", s.Write("s.bmp", "BM").string(), "--splash-seconds", "-1"});
         return std::string("\"-1\"");
       }},
      {"empty splash time",
       [](S s, Args& a) {
         a.insert(a.end(), {"--splash", s.Write("s.bmp", "BM").string(), "--splash-seconds", ""});
         return std::string("splash time");
       }},
      {"splash without its time",
       [](S s, Args& a) { a.insert(a.end(), {"--splash", s.Write("s.bmp", "BM").string()}); return std::string("--splash-seconds"); }},
      {"splash picture that is not a bitmap",
       [](S s, Args& a) {
         a.insert(a.end(), {"--splash", s.Write("s.png", "\x89PNG").string(), "--splash-seconds", "2"});
         return (s / "s.png").string();
       }},
      {"logo that is not a bitmap",
       [](S s, Args& a) { a.insert(a.end(), {"--logo", s.Write("logo.gif", "GIF89a").string()}); return (s / "logo.gif").string(); }},
      {"missing button folder",
       [](S s, Args& a) { a.insert(a.end(), {"--buttons", (s / "nobuttons").string()}); return (s / "nobuttons").string(); }},
      {"button picture that is not a bitmap",
       [](S s, Args& a) {
         s.Write("buttons/B3.bmp", "not a bitmap");
         a.insert(a.end(), {"--buttons", (s / "buttons").string()});
         return (s / "buttons" / "B3.bmp").string();
       }},
      {"missing viewer program",
       [](S s, Args& a) { a.insert(a.end(), {"--viewer", (s / "noviewer").string()}); return (s / "noviewer").string(); }},
      {"viewer that already carries a book",
       [](S s, Args& a) { a.insert(a.end(), {"--viewer", (s / "out" / "book").string()}); return (s / "out" / "book").string(); }},
  };
}

TEST(BuildErrors, NameTheFileAndKeepTheOldBook) {
  for (const BadInput& bad : BadInputs()) {
    SCOPED_TRACE(bad.what);
    Scratch scratch;
    scratch.Write("src/index.html", "<p>x</p>");
    scratch.Write("viewer", "stand-in viewer\n");
    fs::create_directories(scratch / "out");
    const fs::path book = scratch / "out" / "book";
    std::vector<std::string> args = {"build", (scratch / "src").string(), "-o", book.string(),
                                     "--viewer", (scratch / "viewer").string()};
    // The old book is a real one, so that it can also serve as a viewer that carries a book.
    ASSERT_EQ(RunTool(args).code, kExitOk);
    const std::string oldBook = ReadFileBytes(book);

    const std::string named = bad.spoil(scratch, args);
    const testing::ToolRun run = RunTool(args);
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_THAT(run.err, HasSubstr(named));
    EXPECT_EQ(ReadFileBytes(book), oldBook);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch / "out"), fs::directory_iterator()), 1)
        << "a temporary file was left behind";
  }
}

TEST(BuildErrors, UnreadableFileIsNamed) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  Scratch scratch;
  const fs::path secret = scratch.Write("src/secret.html", "x");
  scratch.Write("viewer", "v");
  fs::permissions(secret, fs::perms::none);
  const testing::ToolRun run = RunTool({"build", (scratch / "src").string(), "-o",
                                        (scratch / "book").string(), "--viewer",
                                        (scratch / "viewer").string()});
  EXPECT_EQ(run.code, kExitFailed);
  EXPECT_THAT(run.err, HasSubstr(secret.string()));
  EXPECT_FALSE(fs::exists(scratch / "book"));
}

TEST(BuildErrors, MissingOutputFolderWritesNothing) {
  Scratch scratch;
  scratch.Write("src/index.html", "x");
  scratch.Write("viewer", "v");
  const fs::path book = scratch / "none" / "book";
  const testing::ToolRun run = RunTool({"build", (scratch / "src").string(), "-o", book.string(),
                                        "--viewer", (scratch / "viewer").string()});
  EXPECT_EQ(run.code, kExitFailed);
  EXPECT_THAT(run.err, HasSubstr(book.string()));
}

TEST(CommandLine, WrongFormGetsTheUsageAndExitCode2) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"build"},
      {"build", "src"},                          // no -o
      {"build", "src", "-o"},                    // -o without its value
      {"build", "src", "-o", "b", "--colour", "red"},
      {"build", "src", "other", "-o", "b"},      // two source folders
      {"list"},
      {"cat", "book"},
      {"toc", "book", "extra"},
  };
  for (const auto& args : cases) {
    const testing::ToolRun run = RunTool(args);
    EXPECT_EQ(run.code, kExitUsage) << ::testing::PrintToString(args);
    EXPECT_THAT(run.err, HasSubstr("usage:"));
    EXPECT_TRUE(run.out.empty());
  }
}

}  // namespace
}  // namespace ebook
