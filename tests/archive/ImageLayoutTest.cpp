#include <gtest/gtest.h>

#include <fstream>

#include "archive/ImageLayout.h"
#include "archive/RuntimeFrame.h"

namespace ebook {
namespace {

std::string OwnProgram() {
  std::ifstream file("/proc/self/exe", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(ArchiveStartOffset, TheProgramEndsWhereItsHeadersSay) {
  const std::string program = OwnProgram();
  EXPECT_EQ(ArchiveStartOffset(program), program.size());
  EXPECT_EQ(ArchiveStartOffset(program + "appended archive"), program.size());
}

TEST(ArchiveStartOffset, FilesWithoutAProgramHeaderAreBareArchives) {
  for (std::string bytes : {std::string(), std::string("#1!#X"), std::string("\x7f" "ELF"),
                            std::string("MZ") + std::string(100, '\0')})
    EXPECT_EQ(ArchiveStartOffset(bytes), 0u) << bytes.size();
}

TEST(ArchiveStartOffset, DamagedHeadersNeverPointPastTheFile) {
  std::string program = OwnProgram().substr(0, 4096);
  // Section header table offset far beyond the end of the file.
  for (int i = 40; i < 48; ++i) program[i] = '\x7f';
  EXPECT_LE(ArchiveStartOffset(program), program.size());
}

std::string PeImage(uint32_t rawOffset, uint32_t rawSize, size_t fileSize) {
  std::string image(fileSize, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  const uint32_t pe = 0x80;
  auto put = [&](size_t at, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) image[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  put(0x3C, pe, 4);
  image.replace(pe, 4, std::string("PE\0\0", 4));
  put(pe + 6, 1, 2);      // one section
  put(pe + 20, 224, 2);   // optional header size (PE32)
  put(pe + 24, 0x10B, 2); // PE32 magic
  put(pe + 24 + 60, 0x200, 4);  // size of headers
  const size_t section = pe + 24 + 224;
  put(section + 16, rawSize, 4);
  put(section + 20, rawOffset, 4);
  return image;
}

TEST(ArchiveStartOffset, PeProgramsEndAfterTheirLastSection) {
  EXPECT_EQ(ArchiveStartOffset(PeImage(0x400, 0x200, 0x800)), 0x600u);
  // A section claiming more than the file holds is ignored.
  EXPECT_EQ(ArchiveStartOffset(PeImage(0x400, 0x10000, 0x800)), 0x200u);
}

}  // namespace
}  // namespace ebook

namespace ebook {
namespace {

std::string Frame(const std::string& payload, uint64_t claimedSize) {
  std::string frame(RuntimeFrame::kMagic);
  for (int i = 0; i < 8; ++i) frame += static_cast<char>((claimedSize >> (8 * i)) & 0xFF);
  frame += std::string(64, 'a') + "0123abcd" + std::string(8, '\0');
  return frame + payload;
}

// A book file: the launcher, then the viewer or the packed runtime, then the archive.
TEST(ArchiveStartOffset, TheArchiveFollowsTheLauncherAndWhatComesBehindIt) {
  const std::string launcher = OwnProgram();
  const std::string viewer = OwnProgram();
  const std::string archive = "#1!#PAGE.HTML\xB6";
  EXPECT_EQ(ArchiveStartOffset(launcher + viewer + archive), launcher.size() + viewer.size());

  const std::string frame = Frame("zstd bytes", 10);
  EXPECT_EQ(ArchiveStartOffset(launcher + frame + archive), launcher.size() + frame.size());
  const std::string frameThenArchive = frame + archive;  // the frame's views point into it
  const auto read = ReadRuntimeFrame(frameThenArchive);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->payload, "zstd bytes");
  EXPECT_EQ(read->id, std::string(64, 'a'));
  EXPECT_EQ(read->manifestCheck, "0123abcd");
}

TEST(ArchiveStartOffset, AFrameThatClaimsMoreThanTheFileHoldsIsNoFrame) {
  const std::string launcher = OwnProgram();
  for (uint64_t claimed : {uint64_t{11}, uint64_t{1} << 40, ~uint64_t{0}}) {
    const std::string frame = Frame("zstd bytes", claimed);
    EXPECT_FALSE(ReadRuntimeFrame(frame)) << claimed;
    EXPECT_EQ(ArchiveStartOffset(launcher + frame), launcher.size()) << claimed;
  }
  EXPECT_FALSE(ReadRuntimeFrame(Frame("", 0).substr(0, 95)));
}

}  // namespace
}  // namespace ebook
