#include <gtest/gtest.h>

#include <fstream>

#include "archive/ImageLayout.h"
#include "archive/SimExe.h"

namespace ebook {
namespace {

std::string OwnProgram() {
  std::ifstream file(ExecutablePath(), std::ios::binary);
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
