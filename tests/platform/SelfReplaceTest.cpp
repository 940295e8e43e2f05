#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "Children.h"
#include "support/Scratch.h"
#include "archive/ArchiveWriter.h"
#include "platform/SelfReplace.h"

namespace ebook {
namespace {

namespace fs = std::filesystem;
using testing::Scratch;

unsigned Mode(const fs::path& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

// Both ends of the hand-over, run inside the test with the relaunch observed.
TEST(SelfReplaceStartup, TakesEachBranchOnlyForItsExactTrigger) {
  struct Case {
    const char* what;
    std::string program;  // file name the process runs as
    std::vector<std::string> arguments;
    std::string copy;  // replacing copy lying in the folder, "" for none
    bool quit, cleanedUp, copyRemains, replaced, message;
  };
  // clang-format off
  const std::vector<Case> cases = {
      // what                                   program        arguments      copy
      //                                         quit   cleanedUp copyRemains replaced message
      {"clean-up after a replacement",          "book",        {"deltemp"},   "temp0a0.exe",
                                                 false, true,     false,      false,   false},
      {"clean-up of a copy named in capitals",  "book",        {"deltemp"},   "TEMP0A0.EXE",
                                                 false, true,     false,      false,   false},
      {"clean-up with nothing to delete",       "book",        {"deltemp"},   "",
                                                 false, true,     false,      false,   false},
      {"DELTEMP is a page name",                "book",        {"DELTEMP"},   "temp0a0.exe",
                                                 false, false,    true,       false,   false},
      {"a page argument",                       "book",        {"page.html"}, "temp0a0.exe",
                                                 false, false,    true,       false,   false},
      {"mixed-case copy, relative book path",   "Temp0A0.exe", {"book"},      "",
                                                 true,  false,    false,      true,    false},
      {"upper-case copy, absolute book path",   "TEMP0A0.EXE", {"<abs>"},     "",
                                                 true,  false,    false,      true,    false},
      {"copy without a book path",              "temp0a0.exe", {},            "",
                                                 true,  false,    false,      false,   true},
      {"copy told to replace itself",           "temp0a0.exe", {"temp0a0.exe"}, "",
                                                 true,  false,    false,      false,   true},
      {"book that never becomes deletable",     "temp0a0.exe", {"locked"},    "",
                                                 true,  false,    false,      false,   true},
  };
  // clang-format on
  const std::string newImage = "new program" + EncodeArchive({{"VERSION.TXT", "2"}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Scratch scratch;
    testing::WriteFile(scratch / "book", "old book", 0750);
    fs::create_directories(scratch / "locked" / "in-use");
    if (c.program != "book") testing::WriteFile(scratch / c.program, newImage, 0755);
    if (!c.copy.empty()) testing::WriteFile(scratch / c.copy, "copy", 0755);
    std::vector<std::string> arguments = c.arguments;
    for (std::string& argument : arguments)
      if (argument == "<abs>") argument = (scratch / "book").string();

    std::vector<std::pair<std::string, std::string>> relaunched;
    SelfReplaceOptions options;
    options.deletionWaitLimit = std::chrono::milliseconds(30);
    options.relaunch = [&](const std::string& program, const std::string& argument) {
      relaunched.emplace_back(program, argument);
      return true;
    };
    const SelfReplaceOutcome outcome =
        SelfReplaceStartup(arguments, (scratch / c.program).string(), options);

    EXPECT_EQ(outcome.quit, c.quit);
    EXPECT_EQ(outcome.cleanedUp, c.cleanedUp);
    EXPECT_EQ(outcome.message.empty(), !c.message) << outcome.message;
    if (!c.copy.empty()) {
      EXPECT_EQ(fs::exists(scratch / c.copy), c.copyRemains);
    }
    EXPECT_EQ(testing::ReadFile(scratch / "book"), c.replaced ? newImage : "old book");
    EXPECT_EQ(Mode(scratch / "book"), 0750u);
    const decltype(relaunched) expected = {{(scratch / "book").string(), "deltemp"}};
    EXPECT_EQ(relaunched, c.replaced ? expected : decltype(relaunched){});
    EXPECT_EQ(fs::current_path(), scratch.path());
  }
}

// The real hand-over between three processes: the old book is still open, a newer book copied
// next to it as temp0a0.exe replaces its file and starts it with "deltemp", and the new book
// deletes temp0a0.exe.
TEST(SelfReplaceStartup, HandsOverToTheNewBookBetweenRealProcesses) {
  Scratch scratch;
  const std::string program = testing::ReadFile(SELFREPLACE_PROBE);
  const std::string oldBook = program + EncodeArchive({{"VERSION.TXT", "1"}});
  const std::string newBook = program + EncodeArchive({{"VERSION.TXT", "2"}});
  testing::WriteFile(scratch / "book", oldBook, 0750);
  testing::WriteFile(scratch / "temp0a0.exe", newBook, 0755);
  int log[2];
  int hold[2];
  ASSERT_EQ(pipe2(log, O_CLOEXEC), 0);
  ASSERT_EQ(pipe2(hold, O_CLOEXEC), 0);

  const testing::Child old = testing::Start((scratch / "book").string(), {}, {}, log[1], hold[0]);
  EXPECT_EQ(testing::ReadLine(log[0]), "book - quit=0 cleaned=0 version=1 message=");

  // The book path is relative: it names the file next to temp0a0.exe, not in this working folder.
  const testing::Child copy =
      testing::Start((scratch / "temp0a0.exe").string(), {"book"}, {}, log[1], hold[0]);
  close(log[1]);
  close(hold[0]);
  EXPECT_EQ(testing::WaitForExit(copy), 0);
  std::set<std::string> reports = {testing::ReadLine(log[0]), testing::ReadLine(log[0])};
  EXPECT_EQ(reports, (std::set<std::string>{"temp0a0.exe book quit=1 cleaned=0 version=- message=",
                                            "book deltemp quit=0 cleaned=1 version=2 message="}));
  EXPECT_FALSE(fs::exists(scratch / "temp0a0.exe"));
  EXPECT_TRUE(testing::ReadFile(scratch / "book") == newBook);
  EXPECT_EQ(Mode(scratch / "book"), 0750u);

  // The reader closes both books; the end of the report pipe means every process has ended.
  close(hold[1]);
  EXPECT_EQ(testing::WaitForExit(old), 0);
  EXPECT_EQ(testing::ReadLine(log[0]), "");
  close(log[0]);
}

SelfReplaceOptions ObservedRelaunch(std::vector<std::string>* started) {
  SelfReplaceOptions options;
  options.deletionWaitLimit = std::chrono::milliseconds(30);
  options.relaunch = [started](const std::string& program, const std::string&) {
    started->push_back(program);
    return true;
  };
  return options;
}

// The replacing copy replaces a book of its own folder only: a file anywhere else that the
// user can write (named by an absolute path, "../", or a folder that leads away) stays as it
// was and nothing is started.
TEST(SelfReplaceStartup, ReplacesOnlyABookInItsOwnFolder) {
  Scratch scratch;
  fs::create_directories(scratch / "books" / "sub");
  fs::create_directories(scratch / "elsewhere");
  testing::WriteFile(scratch / "books" / "temp0a0.exe", "new program", 0755);
  testing::WriteFile(scratch / "elsewhere" / "notes.txt", "notes");
  testing::WriteFile(scratch / "books" / "book", "old book");
  for (const std::string& target :
       {(scratch / "elsewhere" / "notes.txt").string(), std::string("../elsewhere/notes.txt"),
        std::string("sub/../../elsewhere/notes.txt"), std::string(".."), std::string("sub")}) {
    SCOPED_TRACE(target);
    std::vector<std::string> started;
    const SelfReplaceOutcome outcome = SelfReplaceStartup(
        {target}, (scratch / "books" / "temp0a0.exe").string(), ObservedRelaunch(&started));
    EXPECT_TRUE(outcome.quit);
    EXPECT_NE(outcome.message, "");
    EXPECT_EQ(testing::ReadFile(scratch / "elsewhere" / "notes.txt"), "notes");
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(fs::exists(scratch / "books" / "temp0a0.exe"));
  }
  // A path that only passes through a folder on its way back is the same book.
  std::vector<std::string> started;
  const SelfReplaceOutcome outcome =
      SelfReplaceStartup({(scratch / "books" / "sub" / ".." / "book").string()},
                         (scratch / "books" / "temp0a0.exe").string(), ObservedRelaunch(&started));
  EXPECT_EQ(outcome.message, "");
  EXPECT_EQ(testing::ReadFile(scratch / "books" / "book"), "new program");
  EXPECT_EQ(started, std::vector<std::string>{(scratch / "books" / "book").string()});
  // The copy removes itself once the new book runs.
  EXPECT_FALSE(fs::exists(scratch / "books" / "temp0a0.exe"));
}

// When the new book cannot be written whole (here: a file size limit standing in for a full
// disk), the old book stays as it was and no half-written file is left beside it.
TEST(SelfReplaceStartup, KeepsTheOldBookWhenTheNewOneCannotBeWritten) {
  Scratch scratch;
  testing::WriteFile(scratch / "temp0a0.exe", std::string(64 * 1024, 'n'), 0755);
  testing::WriteFile(scratch / "book", "old book", 0750);
  std::vector<std::string> started;
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  getrlimit(RLIMIT_FSIZE, &previous);
  rlimit small = previous;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const SelfReplaceOutcome outcome = SelfReplaceStartup(
      {"book"}, (scratch / "temp0a0.exe").string(), ObservedRelaunch(&started));
  setrlimit(RLIMIT_FSIZE, &previous);
  signal(SIGXFSZ, previousHandler);

  EXPECT_NE(outcome.message.find("left as it was"), std::string::npos) << outcome.message;
  EXPECT_EQ(testing::ReadFile(scratch / "book"), "old book");
  EXPECT_TRUE(started.empty());
  std::set<std::string> files;
  for (const auto& item : fs::directory_iterator(scratch.path()))
    files.insert(item.path().filename().string());
  EXPECT_EQ(files, (std::set<std::string>{"book", "temp0a0.exe"}));
}

}  // namespace
}  // namespace ebook
