#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/RunningBook.h"

namespace ebook {
namespace {

TEST(LoadExeImage, TheBareTestProgramCarriesNoBook) {
  LoadExeImage();
  EXPECT_EQ(ExeImage().bytes().size(), std::filesystem::file_size(ExecutablePath()));
  EXPECT_TRUE(ExeImage().EnumerateEntries().empty());
  EXPECT_EQ(ExeImage().ReadEntry("XSE1.QRLC"), "");
}

TEST(SaveStringToFile, EmptyBytesCreateNoFileAndRelativePathsLandBesideTheProgram) {
  const std::filesystem::path folder = ExecutableFolder();
  const std::string name = "save-string-test.tmp";
  std::filesystem::remove(folder / name);
  SaveStringToFile("", name);
  EXPECT_FALSE(std::filesystem::exists(folder / name));
  SaveStringToFile("content", name);
  std::ifstream file(folder / name, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "content");
  std::filesystem::remove(folder / name);
  EXPECT_THROW(SaveStringToFile("x", "/nonexistent/folder/file"), std::system_error);
}

TEST(StringToStream, LeavesAStreamReadableFromItsStart) {
  std::stringstream stream;
  stream << "longer old content";
  StringToStream(std::string_view("abc\0def", 7), stream);
  EXPECT_EQ(stream.tellg(), 0);
  std::string read(7, ' ');
  stream.read(read.data(), 7);
  EXPECT_EQ(read, std::string("abc\0def", 7));
}

}  // namespace
}  // namespace ebook
