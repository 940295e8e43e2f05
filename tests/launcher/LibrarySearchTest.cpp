// The launcher's look-up of the viewer's libraries, and the message it gives when some are
// missing.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/RunningBook.h"
#include "launcher/LibrarySearch.h"
#include "launcher/MissingRuntime.h"
#include "support/Scratch.h"

namespace ebook {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

TEST(NeededLibraries, AreReadFromTheProgramsDynamicSection) {
  const std::vector<std::string> needed = NeededLibraries(testing::ReadFile(ExecutablePath()));
  EXPECT_THAT(needed, Contains("libc.so.6"));
  EXPECT_THAT(needed, Contains("libstdc++.so.6"));
}

TEST(NeededLibraries, NothingComesOfDamagedOrForeignBytes) {
  const std::string program = testing::ReadFile(ExecutablePath());
  for (const std::string& bytes : {std::string(), std::string("#!/bin/sh\n"), program.substr(0, 64),
                                   program.substr(0, program.size() / 3)})
    EXPECT_NO_THROW(NeededLibraries(bytes)) << bytes.size();
  EXPECT_TRUE(NeededLibraries("not a program").empty());
}

TEST(ReadLoaderCache, FindsTheCLibraryInTheSystemsCache) {
  const auto cache = ReadLoaderCache(testing::ReadFile("/etc/ld.so.cache"));
  const auto libc = cache.find("libc.so.6");
  ASSERT_NE(libc, cache.end());
  EXPECT_TRUE(std::filesystem::exists(libc->second)) << libc->second;
  EXPECT_TRUE(ReadLoaderCache("glibc-ld.so.cache1.1").empty());
  EXPECT_TRUE(ReadLoaderCache("").empty());
}

// Candidates that the loader would refuse do not count: an empty file (what a library hidden
// by a bind mount of /dev/null looks like), a text file, a program of another class.
TEST(LibrarySearch, OnlyLibrariesOfTheProgramsKindAreFound) {
  const std::string program = testing::ReadFile(ExecutablePath());
  const ElfKind kind = *ElfKindOf(program);
  const testing::Scratch folder;
  folder.Write("libgood.so.1", program);
  folder.Write("libempty.so.1", "");
  folder.Write("libtext.so.1", "INPUT(-lgood)\n");
  std::string other = program.substr(0, 64);
  other[4] = kind.elfClass == 2 ? 1 : 2;
  folder.Write("libother.so.1", other);

  LibrarySearch search({{folder.path().string()}, "/nonexistent/ld.so.cache", {}}, kind);
  EXPECT_EQ(search.Find("libgood.so.1"), folder.path().string() + "/libgood.so.1");
  for (const char* name : {"libempty.so.1", "libtext.so.1", "libother.so.1", "libnone.so.1"})
    EXPECT_FALSE(search.Find(name)) << name;
}

TEST(LibrarySearch, TheLoadersOrderLibraryPathCacheDefaults) {
  const std::string program = testing::ReadFile(ExecutablePath());
  const ElfKind kind = *ElfKindOf(program);
  // With nowhere to look, every library the program needs is missing.
  LibrarySearch nowhere({{}, "/nonexistent/ld.so.cache", {}}, kind);
  EXPECT_EQ(nowhere.Missing(program, true), NeededLibraries(program));
  // The system's own search finds them all, also the libraries' own libraries.
  LibrarySearch system(LibrarySearch::Folders{}, kind);
  EXPECT_TRUE(system.Missing(program, true).empty());
  EXPECT_TRUE(system.Find("libc.so.6"));
}

TEST(DebianPackageOf, FollowsDebiansNamesForSharedLibraries) {
  const std::pair<const char*, const char*> cases[] = {
      {"libQt6WebEngineWidgets.so.6", "libqt6webenginewidgets6"},
      {"libQt6WebEngineCore.so.6", "libqt6webenginecore6"},
      {"libdeflate.so.0", "libdeflate0"},
      {"libpcre2-16.so.0", "libpcre2-16-0"},
      {"libvpx.so.7", "libvpx7"},
      {"libz.so.1", "zlib1g"},
      {"libgcc_s.so.1", "libgcc-s1"},
  };
  for (const auto& [soname, package] : cases) EXPECT_EQ(DebianPackageOf(soname), package) << soname;
}

TEST(MissingRuntimeMessage, NamesWhatIsMissingAndWhatToInstall) {
  const std::string qt = MissingRuntimeMessage({"libQt6WebEngineWidgets.so.6", "libQt6WebEngineCore.so.6"});
  EXPECT_THAT(qt, HasSubstr("Qt 6 WebEngine"));
  EXPECT_THAT(qt, HasSubstr("Missing: libQt6WebEngineWidgets.so.6, libQt6WebEngineCore.so.6"));
  EXPECT_THAT(qt, HasSubstr("sudo apt install libqt6webenginewidgets6 libqt6webenginecore6\n"));
  EXPECT_THAT(qt, HasSubstr("sudo dnf install qt6-qtwebengine"));
  EXPECT_THAT(qt, HasSubstr("--portable"));

  const std::string other = MissingRuntimeMessage({"libdeflate.so.0"});
  EXPECT_THAT(other, ::testing::Not(HasSubstr("WebEngine")));
  EXPECT_THAT(other, HasSubstr("sudo apt install libdeflate0\n"));
}

// xmessage shows lines as they are: long ones are broken at spaces, a command so that it still
// pastes as one, and nothing is lost.
TEST(WrapLines, BreaksLongLinesAtSpacesKeepingCommandsWhole) {
  EXPECT_EQ(WrapLines("short line\n\nnext", 20), "short line\n\nnext");
  EXPECT_EQ(WrapLines("one two three four five", 10), "one two\n  three\n  four\n  five");
  EXPECT_EQ(WrapLines("  sudo apt install alpha beta gamma", 20),
            "  sudo apt install \\\n    alpha beta gamma");
  EXPECT_EQ(WrapLines("  sudo apt install alpha beta gamma delta", 20),
            "  sudo apt install \\\n    alpha beta \\\n    gamma delta");
  EXPECT_EQ(WrapLines("averyveryverylongword and more", 8), "averyveryverylongword\n  and\n  more");
  const std::string message = MissingRuntimeMessage(
      {"libQt6WebEngineWidgets.so.6", "libQt6WebEngineCore.so.6", "libQt6WebChannel.so.6",
       "libQt6PrintSupport.so.6", "libQt6Widgets.so.6", "libQt6Gui.so.6", "libQt6Core.so.6"});
  const std::string wrapped = WrapLines(message, 76);
  std::string words, original;
  for (const char c : wrapped)
    if (c != '\\' && c != '\n' && c != ' ') words += c;
  for (const char c : message)
    if (c != '\\' && c != '\n' && c != ' ') original += c;
  EXPECT_EQ(words, original);
  size_t longest = 0, begin = 0;
  for (size_t end; (end = wrapped.find('\n', begin)) != std::string::npos; begin = end + 1)
    longest = std::max(longest, end - begin);
  EXPECT_LE(longest, 76u);
}

}  // namespace
}  // namespace ebook
