#include "SearchCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/Scratch.h"
#include "support/TestArchive.h"

namespace ebook {
namespace {

using testing::CorruptedStream;
using testing::TestArchive;

class SearchCommandTest : public ::testing::Test {
 protected:
  std::string WriteBook(const TestArchive& archive) {
    return folder_.Write("book.exe", archive.bytes()).string();
  }

  int Run(const std::string& book, const std::string& query) {
    out_.str({});
    err_.str({});
    return RunSearchCommand(book, query, out_, err_);
  }

  testing::Scratch folder_;
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
