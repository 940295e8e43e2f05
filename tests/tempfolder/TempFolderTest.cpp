#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "Scratch.h"
#include "archive/ArchiveWriter.h"
#include "archive/BookImage.h"
#include "archive/Shell.h"
#include "archive/SimExe.h"
#include "archive/TempFolder.h"
#include "archive/ZLib.h"

namespace ebook {
namespace {

namespace fs = std::filesystem;
using testing::Scratch;

void InstallBook(std::vector<BookEntry> entries) {
  SortInBookOrder(entries);
  SetExeImage(BookImage::FromBytes(EncodeArchive(entries)));
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
  InstallBook({{"XSEI.QRLC", "2"},
               {"XSE1.QRLC", "[cSettings]\nDATA=00000000000000000100000000000000000\n"},
               {"LOGO.QRLC", "BM"},
               {"PAGE.HTML", "<p>page</p>"},
               {"EMPTY.HTML", ""},
               {"PICS/A.JPG", "jpeg bytes"},
               {"PICS/SUB/B.GIF", "gif bytes"},
               {"pics\\back.css", "p{}"}});

  std::string folder;
  ExtractBookToTemp(folder);

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
  ExtractBookToTemp(second);
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
  SetExeImage(BookImage::FromBytes(EncodeArchive(entries)));

  std::string folder;
  ExtractBookToTemp(folder);

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
  SetExeImage(BookImage::FromBytes(archive));

  std::string folder;
  try {
    ExtractBookToTemp(folder);
    FAIL() << "extraction went past a damaged entry";
  } catch (const EZDecompressionError& error) {
    EXPECT_STREQ(error.what(), "data error");
  }
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(Tree(folder), std::set<std::string>{"A.HTML"});
  EXPECT_TRUE(DeleteTempFolder(TempFolderFromBaseUrl(folder)));
  EXPECT_FALSE(fs::exists(folder));
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
