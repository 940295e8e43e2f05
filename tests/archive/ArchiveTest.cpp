#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "archive/ArchiveWriter.h"
#include "archive/BookImage.h"
#include "archive/ZLib.h"

namespace ebook {
namespace {

BookImage Book(const std::vector<BookEntry>& entries) {
  return BookImage::FromBytes(EncodeArchive(entries));
}

// The bytes of this test program: a real ELF image whose code and data hold the markers.
std::string OwnProgram() {
  std::ifstream file("/proc/self/exe", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(ReadEntry, FindsStoredNamesWhateverTheCaseAskedFor) {
  const BookImage book = Book({{"page.html", "<p>one</p>"}, {"pics/Cover.JPG", "JPEG"}});
  EXPECT_EQ(book.ReadEntry("page.html"), "<p>one</p>");
  EXPECT_EQ(book.ReadEntry("PAGE.HTML"), "<p>one</p>");
  EXPECT_EQ(book.ReadEntry("Pics/cover.jpg"), "JPEG");
}

TEST(ReadEntry, MissingNamesAndEmptyContentReadAsEmpty) {
  const BookImage book = Book({{"EMPTY.TXT", ""}, {"A.HTM", "a"}});
  EXPECT_EQ(book.ReadEntry("NOPE.HTML"), "");
  EXPECT_EQ(book.ReadEntry(""), "");
  EXPECT_EQ(book.ReadEntry("EMPTY.TXT"), "");
  EXPECT_EQ(book.ReadEntry("A.HT"), "");
}

TEST(ReadEntry, NonAsciiBytesAreComparedUnchanged) {
  const BookImage book = Book({{"\xE9t\xE9.html", "summer"}});
  EXPECT_EQ(book.ReadEntry("\xE9T\xE9.HTML"), "summer");
  EXPECT_EQ(book.ReadEntry("\xC9T\xC9.HTML"), "");
}

TEST(ReadEntry, StoredLowerCaseNameIsListedButNeverFound) {
  const BookImage book = BookImage::FromBytes(EncodeRawEntry("page.html", CompressBytes("x")));
  EXPECT_EQ(book.EnumerateEntries(), std::vector<std::string>{"page.html"});
  EXPECT_EQ(book.ReadEntry("page.html"), "");
}

TEST(ReadEntry, PrefixNamesReadCorrectlyInEitherOrder) {
  for (bool shortFirst : {true, false}) {
    std::vector<BookEntry> entries = {{"A.HTM", "short name"}, {"A.HTML", "long name"}};
    if (!shortFirst) std::swap(entries[0], entries[1]);
    const BookImage book = Book(entries);
    EXPECT_EQ(book.ReadEntry("A.HTM"), "short name") << shortFirst;
    EXPECT_EQ(book.ReadEntry("A.HTML"), "long name") << shortFirst;
  }
}

TEST(ReadEntry, FirstEntryOfANameWins) {
  const BookImage book = Book({{"DUP.HTML", "first"}, {"OTHER.HTML", "o"}, {"DUP.HTML", "second"}});
  EXPECT_EQ(book.ReadEntry("DUP.HTML"), "first");
  EXPECT_EQ(book.EnumerateEntries().size(), 3u);
}

// What HasEntry says must agree with what ReadEntry finds: the request handler asks HasEntry
// which name a page address stands for, then reads that name.
TEST(HasEntry, AgreesWithReadEntryOnEveryName) {
  const std::string archive = EncodeArchive({{"PAGE.HTML", "p"}, {"EMPTY.TXT", ""},
                                             {"\xE9t\xE9.html", "summer"}}) +
                              EncodeRawEntry("lower.html", CompressBytes("x"));
  const BookImage book = BookImage::FromBytes(archive);
  const BookContent& content = book;
  struct Case {
    const char* name;
    bool stored;
  };
  const Case cases[] = {
      {"PAGE.HTML", true},        {"page.html", true},         {"Page.Html", true},
      {"EMPTY.TXT", true},        {"\xE9T\xE9.HTML", true},    {"\xC9T\xC9.HTML", false},
      {"lower.html", false},      {"PAGE.HTM", false},         {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(content.HasEntry(c.name), c.stored) << c.name;
    EXPECT_EQ(content.HasEntry(c.name), book.FindEntry(c.name) != nullptr) << c.name;
    if (!c.stored) {
      EXPECT_EQ(content.ReadEntry(c.name), "") << c.name;
    }
  }
  EXPECT_EQ(content.ReadEntry("page.html"), "p");
  EXPECT_EQ(content.EnumerateEntries(), book.EnumerateEntries());
}

struct DamageCase {
  const char* label;
  std::string (*damage)(std::string data);
  const char* message;
};

TEST(ReadEntry, DamagedDataFailsWithZlibsMessage) {
  const std::string content(5000, 'x');
  const DamageCase cases[] = {
      {"empty data", [](std::string) { return std::string(); }, "buffer error"},
      {"altered header", [](std::string d) { d[0] = 0x12; return d; }, "data error"},
      {"altered checksum", [](std::string d) { d.back() ^= 0x55; return d; }, "data error"},
      {"cut short", [](std::string d) { return d.substr(0, d.size() / 2); }, "buffer error"},
  };
  for (const DamageCase& c : cases) {
    const std::string archive = EncodeEntry("GOOD.HTML", "fine") +
                                EncodeRawEntry("BAD.HTML", c.damage(CompressBytes(content)));
    const BookImage book = BookImage::FromBytes(archive);
    try {
      book.ReadEntry("bad.html");
      ADD_FAILURE() << c.label << ": no error";
    } catch (const EZDecompressionError& error) {
      EXPECT_STREQ(error.what(), c.message) << c.label;
    }
    EXPECT_EQ(book.ReadEntry("GOOD.HTML"), "fine") << c.label;
  }
}

TEST(EnumerateEntries, ListsEveryEntryInArchiveOrder) {
  const BookImage book =
      Book({{"XSE1.QRLC", "[cInfo]"}, {"PICS/A.JPG", "a"}, {"INDEX.HTML", "i"}, {"b.txt", "b"}});
  EXPECT_EQ(book.EnumerateEntries(),
            (std::vector<std::string>{"XSE1.QRLC", "PICS/A.JPG", "INDEX.HTML", "B.TXT"}));
}

TEST(EnumerateEntries, MarkersInsideEntryDataAreNotEntries) {
  // Data that happens to hold a whole start pattern and a separator.
  const std::string trap = "#1!#FAKE.HTML\xB6#1!#X\xB6";
  const std::string archive = EncodeRawEntry("RAW.BIN", trap) + EncodeEntry("NEXT.HTML", "n");
  const BookImage book = BookImage::FromBytes(archive);
  EXPECT_EQ(book.EnumerateEntries(), (std::vector<std::string>{"RAW.BIN", "NEXT.HTML"}));
  EXPECT_EQ(book.ReadEntry("FAKE.HTML"), "");
  EXPECT_EQ(book.ReadEntry("NEXT.HTML"), "n");
}

TEST(EnumerateEntries, NamesAreTrimmedOfBlanksAndControlBytes) {
  const BookImage book = BookImage::FromBytes(EncodeRawEntry(" \tPAD.HTML\r ", CompressBytes("p")));
  EXPECT_EQ(book.EnumerateEntries(), std::vector<std::string>{"PAD.HTML"});
  EXPECT_EQ(book.ReadEntry(" \tPAD.HTML\r "), "p");
}

TEST(EnumerateEntries, DamagedArchiveListsWhatCanBeFound) {
  std::string archive = EncodeEntry("ONE.HTML", "1") + EncodeEntry("TWO.HTML", "2") +
                        EncodeEntry("THREE.HTML", "3");
  // Break the end marker of TWO.HTML.
  archive.replace(archive.find("!2!#TWO.HTML"), 4, "!2!X");
  const BookImage book = BookImage::FromBytes(archive);
  EXPECT_EQ(book.EnumerateEntries(),
            (std::vector<std::string>{"ONE.HTML", "TWO.HTML", "THREE.HTML"}));
  EXPECT_THROW(book.ReadEntry("TWO.HTML"), EZDecompressionError);
  EXPECT_EQ(book.ReadEntry("THREE.HTML"), "3");

  // Truncated in the middle of a name, and a name that never ends: the walk stops.
  for (size_t cut : {archive.size() - 3, archive.find("THREE") + 2}) {
    const BookImage truncated = BookImage::FromBytes(archive.substr(0, cut));
    EXPECT_EQ(truncated.ReadEntry("ONE.HTML"), "1");
  }
}

TEST(EnumerateEntries, OnlyTheArchiveAfterTheProgramCounts) {
  const std::string program = OwnProgram();
  ASSERT_NE(program.find("#1!#"), std::string::npos) << "the program holds the marker constant";
  const std::string archive = EncodeEntry("XSE1.QRLC", "s") + EncodeEntry("PAGE.HTML", "p");
  const BookImage book = BookImage::FromBytes(program + archive);
  EXPECT_EQ(book.archiveStart(), program.size());
  EXPECT_EQ(book.EnumerateEntries(), (std::vector<std::string>{"XSE1.QRLC", "PAGE.HTML"}));
  EXPECT_EQ(book.ReadEntry("page.html"), "p");

  const BookImage bare = BookImage::FromBytes(program);
  EXPECT_TRUE(bare.EnumerateEntries().empty());
}

TEST(EnumerateEntries, ShortImagesYieldNothing) {
  for (std::string bytes : {std::string(), std::string("#1!#"), std::string("#1!#A\xB6xx")})
    EXPECT_TRUE(BookImage::FromBytes(bytes).EnumerateEntries().empty()) << bytes.size();
}

TEST(BookImage, FromFileNamesTheFileItCannotRead) {
  try {
    BookImage::FromFile("/nonexistent/book.exe");
    ADD_FAILURE();
  } catch (const std::system_error& error) {
    EXPECT_NE(std::string(error.what()).find("/nonexistent/book.exe"), std::string::npos);
  }
}

TEST(BookOrder, InternalEntriesFirstThenSubFoldersThenTopFolder) {
  std::vector<BookEntry> entries = {{"PAGE2.HTML", ""}, {"AB.HTML", ""}, {"XTOC.QRLC", ""},
                                    {"PICS/B.JPG", ""}, {"XSE0.QRLC", ""}, {"A_B.HTML", ""},
                                    {"XSEI.QRLC", ""},  {"PAGE.HTML", ""}, {"XSE1.QRLC", ""},
                                    {"A.HTML", ""},     {"A.HTM", ""},     {"CSS/A.CSS", ""}};
  SortInBookOrder(entries);
  std::vector<std::string> names;
  for (const BookEntry& e : entries) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"XSEI.QRLC", "XSE1.QRLC", "XSE0.QRLC", "XTOC.QRLC",
                                             "CSS/A.CSS", "PICS/B.JPG", "A.HTM", "A.HTML",
                                             "A_B.HTML", "AB.HTML", "PAGE.HTML", "PAGE2.HTML"}));
}

TEST(EncodeEntry, RefusesANameThatCannotBeStored) {
  EXPECT_THROW(EncodeEntry("BAD\xB6NAME", "x"), std::invalid_argument);
  EXPECT_EQ(EncodeEntry("p", "x").substr(0, 6), "#1!#P\xB6");
}

}  // namespace
}  // namespace ebook
