#include <gtest/gtest.h>

#include <filesystem>

#include "support/Scratch.h"
#include "platform/Shell.h"

namespace ebook {
namespace {

namespace fs = std::filesystem;
using testing::Scratch;

TEST(ShellFileOperation, RefusesASourceThatIsNotAFolder) {
  Scratch scratch;
  testing::WriteFile(scratch / "file.txt", "keep me");
  fs::create_directory(scratch / "target");
  testing::WriteFile(scratch / "target" / "inside.txt", "keep me too");
  fs::create_directory_symlink(scratch / "target", scratch / "link");

  for (const char* source : {"file.txt", "missing", "link"})
    for (const char* word : {"DELETE", "delete", "COPY", "MOVE", "RENAME"})
      EXPECT_FALSE(ShellFileOperation(word, false, true, true, false, (scratch / source).string(),
                                      (scratch / "elsewhere").string()))
          << word << " " << source;
  EXPECT_EQ(testing::ReadFile(scratch / "file.txt"), "keep me");
  EXPECT_EQ(testing::ReadFile(scratch / "link" / "inside.txt"), "keep me too");
  EXPECT_FALSE(fs::exists(scratch / "elsewhere"));
}

TEST(ShellFileOperation, DeletesInAnyLetterCaseWithoutFollowingLinksOut) {
  for (const char* word : {"DELETE", "delete", "DeLeTe"}) {
    Scratch scratch;
    fs::create_directory(scratch / "outside");
    testing::WriteFile(scratch / "outside" / "precious.txt", "precious");
    // A folder deeper than any fixed 256-character buffer.
    fs::path deep = scratch / "book";
    while (deep.string().size() < 600) deep /= "a-rather-long-folder-name";
    fs::create_directories(deep);
    testing::WriteFile(deep / "PAGE.HTML", "page");
    fs::create_directory_symlink(scratch / "outside", scratch / "book" / "to-outside");
    fs::create_symlink(scratch / "outside" / "precious.txt", deep / "file-link");

    EXPECT_TRUE(ShellFileOperation(word, false, true, true, false, (scratch / "book").string(), ""))
        << word;
    EXPECT_FALSE(fs::exists(scratch / "book")) << word;
    EXPECT_EQ(testing::ReadFile(scratch / "outside" / "precious.txt"), "precious") << word;
  }
}

TEST(ShellFileOperation, MovesAndCopiesOnlyOntoNewNames) {
  Scratch scratch;
  fs::create_directories(scratch / "a" / "sub");
  testing::WriteFile(scratch / "a" / "sub" / "f.txt", "f");
  fs::create_directory(scratch / "taken");
  const auto op = [&](const char* word, const char* from, const char* to) {
    return ShellFileOperation(word, false, true, true, false, (scratch / from).string(),
                              (scratch / to).string());
  };
  EXPECT_FALSE(op("COPY", "a", "taken"));
  EXPECT_FALSE(op("MOVE", "a", "taken"));
  EXPECT_FALSE(op("UNLINK", "a", "b"));
  EXPECT_TRUE(op("copy", "a", "b"));
  EXPECT_EQ(testing::ReadFile(scratch / "b" / "sub" / "f.txt"), "f");
  EXPECT_TRUE(op("RENAME", "a", "c"));
  EXPECT_FALSE(fs::exists(scratch / "a"));
  EXPECT_EQ(testing::ReadFile(scratch / "c" / "sub" / "f.txt"), "f");
}

TEST(DeleteTempFolder, DeletesOnlyTemporaryBookFolders) {
  Scratch scratch;
  for (const char* name : {"important", "TMP", "TMP12", "TMP-1", "TMPx-1", "TMP123456-1", "tmp1-2"})
    fs::create_directory(scratch / name);
  fs::create_directory(scratch / "TMP4711-815");
  testing::WriteFile(scratch / "TMP4711-815" / "PAGE.HTML", "page");

  for (const char* name :
       {"important", "TMP", "TMP12", "TMP-1", "TMPx-1", "TMP123456-1", "tmp1-2"}) {
    EXPECT_FALSE(DeleteTempFolder((scratch / name).string())) << name;
    EXPECT_TRUE(fs::exists(scratch / name)) << name;
  }
  EXPECT_TRUE(DeleteTempFolder((scratch / "TMP4711-815").string()));
  EXPECT_FALSE(fs::exists(scratch / "TMP4711-815"));
  EXPECT_FALSE(DeleteTempFolder((scratch / "TMP4711-815").string()));
}

TEST(ShellOpen, HandsNonEmptyTargetsToTheOpener) {
  std::vector<std::string> opened;
  ShellOpener previous =
      SetShellOpener([&](const std::string& target) { opened.push_back(target); });
  ShellOpen("");
  ShellOpen("http://example.org/");
  ShellOpen("/home/reader/guide.pdf");
  SetShellOpener(previous);
  EXPECT_EQ(opened, (std::vector<std::string>{"http://example.org/", "/home/reader/guide.pdf"}));
}

TEST(VolumeRootOf, FindsTheMountPointHoldingAPath) {
  EXPECT_EQ(VolumeRootOf("/"), "");
  EXPECT_EQ(VolumeRootOf("/proc/self/status"), "/proc");
  // "$WIN$" followed by a path names that path on the root volume.
  EXPECT_EQ(SystemDriveRoot() + "/usr/bin", "/usr/bin");
  Scratch scratch;
  const std::string root = VolumeRootOf(scratch.path().string());
  EXPECT_EQ(scratch.path().string().substr(0, root.size()), root);
}

}  // namespace
}  // namespace ebook
