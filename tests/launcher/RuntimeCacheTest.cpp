// The portable runtime's cache: unpacking into place, reusing, redoing a damaged runtime,
// clearing old ones, and the environment the viewer gives the programs it starts.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>
#include <zstd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "archive/RuntimeFrame.h"
#include "platform/Shell.h"
#include "launcher/RuntimeCache.h"
#include "support/Scratch.h"

namespace ebook {
namespace {

namespace fs = std::filesystem;

std::string Crc(const std::string& bytes) {
  char text[9];
  snprintf(text, sizeof text, "%08lx",
           crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())) & 0xFFFFFFFFUL);
  return text;
}

// A runtime folder, its manifest, and the frame's parts made from it with tar and zstd.
class RuntimeFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path source = root_ / "source";
    testing::WriteFile(source / "ebook", "viewer program");
    testing::WriteFile(source / "lib/libQt6Core.so.6", std::string(5000, 'q'));
    manifest_ = "ebook\t14\nlib/libQt6Core.so.6\t5000\n";
    testing::WriteFile(source / "MANIFEST", manifest_);
    const std::string tar = (root_ / "runtime.tar").string();
    ASSERT_EQ(std::system(("tar -cf " + tar + " -C " + source.string() + " .").c_str()), 0);
    const std::string plain = testing::ReadFile(tar);
    packed_.resize(ZSTD_compressBound(plain.size()));
    packed_.resize(ZSTD_compress(packed_.data(), packed_.size(), plain.data(), plain.size(), 3));
    id_ = std::string(64, 'c');
    check_ = Crc(manifest_);
    cache_ = (root_ / "cache").string();
  }

  RuntimeFrame Frame() const { return {id_, check_, packed_}; }
  fs::path RuntimeFolder() const { return fs::path(cache_) / ("runtime-" + id_); }
  size_t Entries() const {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(cache_)) ++count;
    return count;
  }

  testing::Scratch root_;
  std::string manifest_, packed_, id_, check_, cache_;
};

TEST_F(RuntimeFixture, IsUnpackedOnceAndReused) {
  const std::string folder = EnsureRuntime(Frame(), cache_);
  EXPECT_EQ(fs::path(folder), RuntimeFolder());
  EXPECT_EQ(testing::ReadFile(RuntimeFolder() / "ebook"), "viewer program");
  EXPECT_TRUE(RuntimeIsWhole(folder, check_));
  EXPECT_EQ(Entries(), 1u);  // no temporary folder left beside it

  struct stat before {}, after {};
  stat((RuntimeFolder() / "ebook").c_str(), &before);
  EXPECT_EQ(EnsureRuntime(Frame(), cache_), folder);
  stat((RuntimeFolder() / "ebook").c_str(), &after);
  EXPECT_EQ(before.st_ino, after.st_ino);  // reused, not unpacked again
}

TEST_F(RuntimeFixture, ARuntimeCutShortIsUnpackedAgain) {
  EnsureRuntime(Frame(), cache_);
  using testing::WriteFile;
  for (const auto& damage : {+[](const fs::path& f) { fs::remove(f / "lib/libQt6Core.so.6"); },
                             +[](const fs::path& f) { WriteFile(f / "lib/libQt6Core.so.6", "short"); },
                             +[](const fs::path& f) { WriteFile(f / "MANIFEST", "ebook\t14\n"); },
                             +[](const fs::path& f) { fs::remove(f / "MANIFEST"); }}) {
    damage(RuntimeFolder());
    EXPECT_FALSE(RuntimeIsWhole(RuntimeFolder(), check_));
    EnsureRuntime(Frame(), cache_);
    EXPECT_TRUE(RuntimeIsWhole(RuntimeFolder(), check_));
    EXPECT_EQ(fs::file_size(RuntimeFolder() / "lib/libQt6Core.so.6"), 5000u);
    EXPECT_EQ(Entries(), 1u);
  }
}

TEST_F(RuntimeFixture, ADamagedPackLeavesNothingBehind) {
  for (std::string packed : {packed_.substr(0, packed_.size() / 2), std::string("not zstd at all")}) {
    EXPECT_THROW(EnsureRuntime({id_, check_, packed}, cache_), std::runtime_error);
    EXPECT_FALSE(fs::exists(RuntimeFolder()));
    EXPECT_EQ(Entries(), 0u);
  }
  // A pack whose content does not match the manifest check is refused too.
  EXPECT_THROW(EnsureRuntime({id_, "00000000", packed_}, cache_), std::runtime_error);
  EXPECT_EQ(Entries(), 0u);
}

TEST_F(RuntimeFixture, RuntimesUnusedFor90DaysGo) {
  EnsureRuntime(Frame(), cache_);
  const fs::path old = fs::path(cache_) / ("runtime-" + std::string(64, 'o'));
  const fs::path recent = fs::path(cache_) / ("runtime-" + std::string(64, 'r'));
  const fs::path leftover = fs::path(cache_) / ".runtime-x.unpacking-1-2";
  const fs::path other = fs::path(cache_) / "notes";
  for (const fs::path& folder : {old, recent, leftover, other}) fs::create_directories(folder);
  const auto now = fs::file_time_type::clock::now();
  fs::last_write_time(old, now - std::chrono::hours(24 * 91));
  fs::last_write_time(recent, now - std::chrono::hours(24 * 89));
  fs::last_write_time(leftover, now - std::chrono::hours(25));
  fs::last_write_time(other, now - std::chrono::hours(24 * 400));
  fs::last_write_time(RuntimeFolder(), now - std::chrono::hours(24 * 400));

  RemoveOldRuntimes(cache_, RuntimeFolder().string());
  EXPECT_FALSE(fs::exists(old));
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_TRUE(fs::exists(recent));
  EXPECT_TRUE(fs::exists(other));
  EXPECT_TRUE(fs::exists(RuntimeFolder()));  // the one in use
}

TEST_F(RuntimeFixture, TheViewerProgramIsCachedOnceWhereMemoryFilesCannotRun) {
  const std::string path = CachedViewerFile("viewer bytes", cache_);
  EXPECT_EQ(testing::ReadFile(path), "viewer bytes");
  EXPECT_EQ(access(path.c_str(), X_OK), 0);
  EXPECT_EQ(CachedViewerFile("viewer bytes", cache_), path);
  EXPECT_NE(CachedViewerFile("another viewer", cache_), path);
  EXPECT_EQ(Entries(), 2u);
}

// The viewer on a runtime keeps its paths; what it starts gets the reader's own values.
TEST(TakeRuntimeEnvironment, GivesStartedProgramsTheReadersOwnValues) {
  setenv("EBOOK_RUNTIME", "/cache/runtime-x", 1);
  setenv("LD_LIBRARY_PATH", "/cache/runtime-x/lib", 1);
  setenv("EBOOK_ORIGINAL_LD_LIBRARY_PATH", "/reader/lib", 1);
  setenv("QT_PLUGIN_PATH", "/cache/runtime-x/plugins", 1);
  unsetenv("EBOOK_ORIGINAL_QT_PLUGIN_PATH");
  TakeRuntimeEnvironment();
  EXPECT_FALSE(getenv("EBOOK_RUNTIME"));
  EXPECT_FALSE(getenv("EBOOK_ORIGINAL_LD_LIBRARY_PATH"));
  EXPECT_STREQ(getenv("LD_LIBRARY_PATH"), "/cache/runtime-x/lib");

  const std::vector<std::string> child = ChildEnvironment();
  EXPECT_THAT(child, ::testing::Contains("LD_LIBRARY_PATH=/reader/lib"));
  for (const std::string& pair : child) {
    EXPECT_FALSE(pair.starts_with("QT_PLUGIN_PATH=")) << pair;
    EXPECT_FALSE(pair.starts_with("EBOOK_")) << pair;
    EXPECT_NE(pair, "LD_LIBRARY_PATH=/cache/runtime-x/lib");
  }
  SetChildEnvironment({});
  unsetenv("LD_LIBRARY_PATH");
  unsetenv("QT_PLUGIN_PATH");
}

}  // namespace
}  // namespace ebook
