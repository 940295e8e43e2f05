#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <regex>
#include <set>

#include "support/Scratch.h"
#include "archive/ArchiveWriter.h"
#include "archive/BookImage.h"
#include "platform/Shell.h"
#include "platform/TempFolder.h"
#include "archive/ZLib.h"

namespace ebook {
namespace {

namespace fs = std::filesystem;
using testing::Scratch;

BookImage MakeBook(std::vector<BookEntry> entries) {
  SortInBookOrder(entries);
  return BookImage::FromBytes(EncodeArchive(entries));
}

// Every file and folder under `root`, relative, "/" between levels.
std::set<std::string> Tree(const fs::path& root) {
  std::set<std::string> tree;
  for (const auto& item : fs::recursive_directory_iterator(root))
    tree.insert(item.path().lexically_relative(root).string());
  return tree;
}

TEST(ExtractBookToTemp, WritesBookFilesInTheirFoldersAndNothingElse) {
  Scratch scratch;
  scratch.UseAsTempFolder();
  const BookImage book =
      MakeBook({{"XSEI.QRLC", "2"},
                {"XSE1.QRLC", "[cSettings]\nDATA=00000000000000000100000000000000000\n"},
                {"LOGO.QRLC", "BM"},
                {"PAGE.HTML", "<p>page</p>"},
                {"EMPTY.HTML", ""},
                {"PICS/A.JPG", "jpeg bytes"},
                {"PICS/SUB/B.GIF", "gif bytes"},
                {"pics\\back.css", "p{}"}});

  std::string folder;
  ExtractBookToTemp(book, folder);

  // The base address: the folder's path with "/" throughout and a trailing "/".
  const std::string parent = scratch.path().string() + "/";
  ASSERT_EQ(folder.substr(0, parent.size()), parent);
  const std::string name = folder.substr(parent.size());
  std::smatch numbers;
  ASSERT_TRUE(std::regex_match(name, numbers, std::regex("TMP([0-9]{1,5})-([0-9]{1,5})/"))) << name;
  EXPECT_LT(std::stoi(numbers[1]), 30000);
  EXPECT_LT(std::stoi(numbers[2]), 20000);
  EXPECT_EQ(folder.find('\\'), std::string::npos);

  EXPECT_EQ(Tree(folder), (std::set<std::string>{"PAGE.HTML", "PICS", "PICS/A.JPG", "PICS/SUB",
                                                 "PICS/SUB/B.GIF", "PICS/BACK.CSS"}));
  // Pages are opened as the base address followed by the entry name.
  EXPECT_EQ(testing::ReadFile(folder + "PAGE.HTML"), "<p>page</p>");
  EXPECT_EQ(testing::ReadFile(folder + "PICS/SUB/B.GIF"), "gif bytes");

  // Every start gets a folder of its own.
  std::string second;
  ExtractBookToTemp(book, second);
  EXPECT_NE(second, folder);

  EXPECT_TRUE(DeleteTempFolder(TempFolderFromBaseUrl(folder)));
  EXPECT_TRUE(DeleteTempFolder(TempFolderFromBaseUrl(second)));
  EXPECT_TRUE(fs::is_empty(scratch.path()));
}

TEST(ExtractBookToTemp, NeverWritesOutsideItsFolder) {
  Scratch scratch;
  fs::create_directory(scratch / "tmp");
  setenv("TMPDIR", (scratch / "tmp").c_str(), 1);
  const std::vector<std::string> hostile = {"../UP.HTML",
                                            "PICS/../../UP2.HTML",
                                            "PICS/SUB/../../../../UP3.HTML",
                                            "/ABS/UP4.HTML",
                                            "C:/UP5.HTML",
                                            "C:UP6.HTML",
                                            "..\\UP7.HTML",
                                            "PICS\\..\\..\\UP8.HTML",
                                            "\\ROOT.HTML",
                                            "PICS/..",
                                            std::string("NUL\0/../UP9.HTML", 16)};
  std::vector<BookEntry> entries;
  for (const std::string& name : hostile) entries.push_back({name, "escaped"});
  entries.push_back({"OK.HTML", "fine"});
  const BookImage book = BookImage::FromBytes(EncodeArchive(entries));

  std::string folder;
  ExtractBookToTemp(book, folder);

  const std::string name = "tmp/" + fs::path(folder).parent_path().filename().string();
  EXPECT_EQ(Tree(scratch.path()), (std::set<std::string>{"tmp", name, name + "/OK.HTML"}));
  EXPECT_FALSE(fs::exists("/ABS/UP4.HTML"));
}

TEST(ExtractBookToTemp, StopsAtAnEntryThatCannotBeInflatedAndLeavesADeletableFolder) {
  Scratch scratch;
  scratch.UseAsTempFolder();
  std::string archive = EncodeArchive({{"A.HTML", "first"}});
  archive += EncodeRawEntry("B.HTML", "this is no zlib stream");
  archive += EncodeArchive({{"C.HTML", "never reached"}});
  const BookImage book = BookImage::FromBytes(archive);

  std::string folder;
  try {
    ExtractBookToTemp(book, folder);
    FAIL() << "extraction went past a damaged entry";
  } catch (const EZDecompressionError& error) {
    EXPECT_STREQ(error.what(), "data error");
  }
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(Tree(folder), std::set<std::string>{"A.HTML"});
  EXPECT_TRUE(DeleteTempFolder(TempFolderFromBaseUrl(folder)));
  EXPECT_FALSE(fs::exists(folder));
}

// Names that pass the safety rules but that no file system takes: each is skipped and told,
// and every other file of the book is still written.
TEST(ExtractBookToTemp, SkipsNamesTheFileSystemCannotCreateAndGoesOn) {
  Scratch scratch;
  scratch.UseAsTempFolder();
  const std::string longLevel(300, 'L');
  const std::string hugeName = std::string(64 * 1024, 'N') + ".HTML";
  std::string archive = EncodeArchive({{"AAA", "a file"}});
  for (const std::string& name : {std::string("AAA/B.TXT"), std::string("DIR/"), std::string("."),
                                  longLevel + "/X.HTML", hugeName})
    archive += EncodeArchive({{name, "cannot be"}});
  archive += EncodeArchive({{"LAST.HTML", "still written"}});
  const BookImage book = BookImage::FromBytes(archive);

  std::vector<std::pair<size_t, size_t>> progress;
  std::string folder;
  const std::vector<SkippedEntry> skipped = ExtractBookToTemp(
      book, folder, [&](size_t done, size_t total) { progress.emplace_back(done, total); });

  std::set<std::string> names;
  for (const SkippedEntry& entry : skipped) {
    names.insert(entry.name);
    EXPECT_FALSE(entry.reason.empty());
  }
  EXPECT_EQ(names, (std::set<std::string>{"AAA/B.TXT", "DIR/", ".", longLevel + "/X.HTML",
                                          hugeName}));
  EXPECT_EQ(testing::ReadFile(fs::path(folder) / "AAA"), "a file");
  EXPECT_EQ(testing::ReadFile(fs::path(folder) / "LAST.HTML"), "still written");
  // Told before each of the 7 files and once when done.
  ASSERT_EQ(progress.size(), 8u);
  EXPECT_EQ(progress.front(), (std::pair<size_t, size_t>{0, 7}));
  EXPECT_EQ(progress.back(), (std::pair<size_t, size_t>{7, 7}));
  EXPECT_TRUE(DeleteTempFolder(TempFolderFromBaseUrl(folder)));
}

// The progress callback can stop the extraction; what was written stays deletable.
TEST(ExtractBookToTemp, StopsWhenTheProgressCallbackThrows) {
  Scratch scratch;
  scratch.UseAsTempFolder();
  const BookImage book = MakeBook({{"A.HTML", "a"}, {"B.HTML", "b"}, {"C.HTML", "c"}});
  std::string folder;
  EXPECT_THROW(ExtractBookToTemp(book, folder,
                                 [](size_t done, size_t) {
                                   if (done == 2) throw std::runtime_error("stop");
                                 }),
               std::runtime_error);
  EXPECT_EQ(Tree(folder).size(), 2u);
  EXPECT_TRUE(DeleteTempFolder(TempFolderFromBaseUrl(folder)));
}

// Book content that is no archive (an author's folder, say) extracts the same way: only what
// the content lists and reads counts.
TEST(ExtractBookToTemp, ExtractsAnyBookContent) {
  class Listed : public BookContent {
   public:
    std::vector<std::string> EnumerateEntries() const override {
      return {"XSE1.QRLC", "INDEX.HTML", "PICS/A.GIF", "../UP.HTML", "GONE.HTML"};
    }
    bool HasEntry(std::string_view name) const override { return name != "GONE.HTML"; }
    std::string ReadEntry(std::string_view name) const override {
      if (name == "GONE.HTML") return {};
      return "content of " + std::string(name);
    }
  };
  Scratch scratch;
  scratch.UseAsTempFolder();
  std::string folder;
  EXPECT_TRUE(ExtractBookToTemp(Listed(), folder).empty());
  EXPECT_EQ(Tree(folder), (std::set<std::string>{"INDEX.HTML", "PICS", "PICS/A.GIF"}));
  EXPECT_EQ(testing::ReadFile(folder + "PICS/A.GIF"), "content of PICS/A.GIF");
  EXPECT_TRUE(DeleteTempFolder(TempFolderFromBaseUrl(folder)));
}

// Folders an ended run left behind go; a running viewer's folder, a fresh folder, another
// user's folder, a symbolic link and other names stay.
TEST(RemoveAbandonedTempFolders, RemovesOnlyThisUsersUnlockedOldBookFolders) {
  Scratch scratch;
  scratch.UseAsTempFolder();
  const BookImage book = MakeBook({{"A.HTML", "a"}});
  std::string running;
  ExtractBookToTemp(book, running);  // this process holds its lock
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  const auto make = [&](const std::string& name) {
    fs::create_directories(scratch / name / "SUB");
    testing::WriteFile(scratch / name / "SUB" / "F.HTML", "left");
    fs::last_write_time(scratch / name, old);
  };
  make("TMP1-2");
  make("TMP3-4");
  fs::last_write_time(scratch / "TMP3-4", fs::file_time_type::clock::now());  // fresh
  make("TMPX-1");
  make("TMP5-6");
  const bool otherUser = geteuid() == 0 && chown((scratch / "TMP5-6").c_str(), 65534, 65534) == 0;
  fs::create_directory_symlink(scratch / "TMPX-1", scratch / "TMP7-8");
  fs::last_write_time(fs::path(TempFolderFromBaseUrl(running)), old);

  const std::vector<std::string> removed = RemoveAbandonedTempFolders();

  EXPECT_EQ(removed, std::vector<std::string>{(scratch / "TMP1-2").string()});
  EXPECT_FALSE(fs::exists(scratch / "TMP1-2"));
  EXPECT_TRUE(fs::exists(running));
  EXPECT_TRUE(fs::exists(scratch / "TMP3-4" / "SUB" / "F.HTML"));
  EXPECT_TRUE(fs::exists(scratch / "TMPX-1" / "SUB" / "F.HTML"));
  if (otherUser) {
    EXPECT_TRUE(fs::exists(scratch / "TMP5-6" / "SUB" / "F.HTML"));
  }
  EXPECT_TRUE(fs::is_symlink(scratch / "TMP7-8"));
  if (otherUser) {
    // Handed back so the scratch folder can be removed.
    chown((scratch / "TMP5-6").c_str(), 0, 0);
  }
  EXPECT_TRUE(DeleteTempFolder(TempFolderFromBaseUrl(running)));
}

TEST(SplitString, KeepsOrDropsEmptyPieces) {
  struct Case {
    std::string text;
    bool keepEmpty;
    std::vector<std::string> pieces;
  };
  const std::vector<Case> cases = {
      {"PICS\\SUB\\", true, {"PICS", "SUB"}},
      {"PICS\\\\SUB\\", true, {"PICS", "", "SUB"}},
      {"PICS\\\\SUB\\", false, {"PICS", "SUB"}},
      {"\\PICS", true, {"", "PICS"}},
      {"\\PICS", false, {"PICS"}},
      {"A\\B", true, {"A", "B"}},
      {"", true, {}},
      {"\\", true, {""}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> list = {"left over"};
    SplitString(c.text, "\\", list, c.keepEmpty);
    EXPECT_EQ(list, c.pieces) << c.text << " keepEmpty=" << c.keepEmpty;
  }
}

TEST(ForceEntryFolders, CreatesTheNamesFolderLevelsInsideTheBaseOnly) {
  Scratch scratch;
  fs::create_directory(scratch / "base");
  const std::string base = (scratch / "base").string();
  ForceEntryFolders("PICS/SUB/B.GIF", base);
  ForceEntryFolders("PAGE.HTML", base);
  ForceEntryFolders("../OUT/X.HTML", base);
  ForceEntryFolders("/OUT2/X.HTML", base);
  EXPECT_EQ(Tree(scratch.path()), (std::set<std::string>{"base", "base/PICS", "base/PICS/SUB"}));
}

}  // namespace
}  // namespace ebook
