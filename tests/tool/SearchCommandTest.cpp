#include "SearchCommand.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestBooks.h"

namespace ebook {
namespace {

namespace fs = std::filesystem;
using testing::CorruptedStream;
using testing::TestArchive;

class SearchCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("search-command-" + std::to_string(getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string WriteBook(const TestArchive& archive) {
    const fs::path path = folder_ / "book.exe";
    std::ofstream(path, std::ios::binary) << archive.bytes();
    return path.string();
  }

  int Run(const std::string& book, const std::string& query) {
    out_.str({});
    err_.str({});
    return RunSearchCommand(book, query, out_, err_);
  }

  fs::path folder_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(SearchCommandTest, PrintsHitsInOrderThenTheStatusLine) {
  const std::string book = WriteBook(TestArchive()
                                         .Add("B.HTM", "<title>Bee</title>Honey")
                                         .Add("A.HTM", "honey, no title")
                                         .Add("C.TXT", "nothing sweet"));
  EXPECT_EQ(Run(book, " HONEY "), 0);
  EXPECT_EQ(out_.str(), "B.HTM\tBee\nA.HTM\tA.HTM\n2 Pages found\n");
  EXPECT_EQ(err_.str(), "");

  EXPECT_EQ(Run(book, "sweet"), 0);
  EXPECT_EQ(out_.str(), "C.TXT\tC.TXT\n1 Pages found\n");

  EXPECT_EQ(Run(book, "vinegar"), 0);
  EXPECT_EQ(out_.str(), "0 Pages found\n");
}

TEST_F(SearchCommandTest, DamagedPageEndsWithTheHitsSoFarAndTheError) {
  const std::string book = WriteBook(TestArchive()
                                         .Add("A.HTM", "<title>First</title>honey")
                                         .AddRaw("B.HTM", CorruptedStream("honey"))
                                         .Add("C.HTM", "honey"));
  EXPECT_EQ(Run(book, "honey"), 1);
  EXPECT_EQ(out_.str(), "A.HTM\tFirst\n1 Pages found\n");
  EXPECT_EQ(err_.str(), "data error\n");
}

TEST_F(SearchCommandTest, UnreadableBookOrEmptyQueryPrintsNoResults) {
  const std::string book = WriteBook(TestArchive().Add("A.HTM", "honey"));
  EXPECT_EQ(Run((folder_ / "missing.exe").string(), "honey"), 1);
  EXPECT_EQ(out_.str(), "");
  EXPECT_NE(err_.str().find("missing.exe"), std::string::npos) << err_.str();

  EXPECT_EQ(Run(book, " \t "), 2);
  EXPECT_EQ(out_.str(), "");
  EXPECT_NE(err_.str(), "");
}

}  // namespace
}  // namespace ebook
