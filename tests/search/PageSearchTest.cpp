#include "search/PageSearch.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "support/TestArchive.h"
#include "archive/MemoryBudget.h"

namespace ebook {
namespace {

// "P<number>.HTM"
std::string PageName(size_t number) {
  return std::string("P").append(std::to_string(number)).append(".HTM");
}

using testing::CorruptedStream;
using testing::TestArchive;

std::vector<std::string> Names(const SearchResult& result) {
  std::vector<std::string> names;
  for (const SearchHit& hit : result.hits) names.push_back(hit.name);
  return names;
}

std::vector<std::string> Found(const BookImage& book, std::string_view query) {
  const SearchResult result = SearchAllPages(book, query);
  EXPECT_FALSE(result.error) << *result.error;
  return Names(result);
}

using NameList = std::vector<std::string>;

TEST(PageSearchTest, AsciiQueriesFoldAsciiLettersInAnyPage) {
  const BookImage book = TestArchive()
                             .Add("LOWER.HTM", "a foo here")
                             .Add("UPPER.HTM", "a FOO here")
                             .Add("MIXED.HTM", "a fOo here")
                             .Add("NONE.HTM", "a f o o here")
                             .Add("UTF8.HTM", "<p>\xC3\xA9t\xC3\xA9 FOO</p>")
                             .Book();
  const NameList all = {"LOWER.HTM", "UPPER.HTM", "MIXED.HTM", "UTF8.HTM"};
  EXPECT_EQ(Found(book, "foo"), all);
  EXPECT_EQ(Found(book, "  Foo\t"), all);
  EXPECT_EQ(Found(book, "FOO"), all);
}

// "sécurité" typed in the panel (UTF-8) finds the word in every page that holds it, whatever
// the page's encoding, in any letter case of any script.
TEST(PageSearchTest, QueriesMatchEveryPageInItsOwnEncoding) {
  const std::string utf8Word = "s\xC3\xA9" "curit\xC3\xA9";  // sécurité
  const BookImage book =
      TestArchive()
          .Add("UTF8.HTM", "<p>La " + utf8Word + " avant tout</p>")
          .Add("UTF8UPPER.HTM", "<p>S\xC3\x89" "CURIT\xC3\x89</p>")
          .Add("UTF8META.HTM", "<meta charset=\"utf-8\"><p>S\xC3\xA9" "curit\xC3\xA9</p>")
          .Add("ANSI.HTM", "<p>La s\xE9" "curit\xE9</p>")
          .Add("ANSIUPPER.TXT", "S\xC9" "CURIT\xC9")
          .Add("LATIN1.HTM", "<meta http-equiv=\"Content-Type\" content=\"text/html; "
                             "charset=ISO-8859-1\"><p>s\xE9" "curit\xE9</p>")
          .Add("LATIN9.HTM", "<meta charset=iso-8859-15><p>S\xC9" "CURIT\xC9</p>")
          .Add("MOJIBAKE.HTM", "<meta charset=windows-1252><p>" + utf8Word + "</p>")
          .Add("NEAR.HTM", "<p>securite, s\xC3\xA8" "curit\xC3\xA8</p>")
          .Add("GREEK.HTM", "<p>\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x99\xCE\x91 \xCF\x83\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1</p>")
          .Add("NOTGREEK.HTM", "<p>S\xD3\xD6\xC9\xC1</p>")
          .Book();
  const NameList french = {"UTF8.HTM",   "UTF8UPPER.HTM", "UTF8META.HTM",
                           "ANSI.HTM",   "ANSIUPPER.TXT", "LATIN1.HTM", "LATIN9.HTM"};
  EXPECT_EQ(Found(book, utf8Word), french);
  EXPECT_EQ(Found(book, "S\xC3\x89" "CURIT\xC3\x89"), french);
  // A query given in Windows-1252 bytes reads as the same word.
  EXPECT_EQ(Found(book, "s\xE9" "curit\xE9"), french);
  // Greek capitals fold to small letters (Σ to σ); an accented letter stays distinct from a bare one.
  EXPECT_EQ(Found(book, "\xCF\x83\xCE\xBF\xCF\x86\xCE\xB9\xCE\xB1"), NameList{"GREEK.HTM"});
  EXPECT_EQ(Found(book, "\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x8A\xCE\x91"), NameList{"GREEK.HTM"});
}

TEST(PageSearchTest, FoldingReachesAcrossChunksAndPastTheAsciiPrefilter) {
  // A match that straddles the 64 KiB pieces pages are folded in, at every offset around it.
  TestArchive archive;
  NameList expected;
  for (int shift = -12; shift <= 12; shift += 3) {
    std::string page(65536 + shift, 'x');
    page += "\xC3\x89T\xC3\x89 caf\xC3\x89";
    const std::string name = PageName(shift + 20);
    archive.Add(name, page);
    expected.push_back(name);
  }
  EXPECT_EQ(Found(archive.Book(), "\xC3\xA9t\xC3\xA9 caf\xC3\xA9"), expected);
  // The long s and the Kelvin sign fold to "s" and "k": the ASCII run that rules pages out
  // must not hold those letters.
  const BookImage book = TestArchive()
                             .Add("LONGS.HTM", "\xC5\xBFk\xC3\xA9")           // ſké
                             .Add("KELVIN.HTM", "s\xE2\x84\xAA\xC3\xA9")     // sKé
                             .Book();
  EXPECT_EQ(Found(book, "sk\xC3\xA9"), (NameList{"LONGS.HTM", "KELVIN.HTM"}));
}

TEST(PageSearchTest, PagesAreSearchedRaw) {
  const BookImage book =
      TestArchive()
          .Add("TAG.HTM", "<p>text</p><blockquote>quoted</blockquote>")
          .Add("ATTR.HTM", "<a href=\"target-page.htm\">link</a>")
          .Add("SCRIPT.HTM", "<script>var counterValue = 1;</script>")
          .Add("COMMENT.HTM", "<!-- hidden remark --><p>shown</p>")
          .Add("REF.HTM", "<p>caf&eacute; &amp; bar</p>")
          .Add("SPACES.TXT", "two  spaces and a\ttab")
          .Book();
  EXPECT_EQ(Found(book, "blockquote"), NameList{"TAG.HTM"});
  EXPECT_EQ(Found(book, "TARGET-PAGE"), NameList{"ATTR.HTM"});
  EXPECT_EQ(Found(book, "counterValue = 1"), NameList{"SCRIPT.HTM"});
  EXPECT_EQ(Found(book, "hidden remark"), NameList{"COMMENT.HTM"});
  EXPECT_EQ(Found(book, "--><P>"), NameList{"COMMENT.HTM"});
  // Character references are not decoded: the typed character does not match them.
  EXPECT_EQ(Found(book, "caf\xE9"), NameList{});
  EXPECT_EQ(Found(book, "&"), NameList{"REF.HTM"});
  EXPECT_EQ(Found(book, "&eacute;"), NameList{"REF.HTM"});
  // Blanks inside the query match exactly.
  EXPECT_EQ(Found(book, "two  spaces"), NameList{"SPACES.TXT"});
  EXPECT_EQ(Found(book, "two spaces"), NameList{});
  EXPECT_EQ(Found(book, "a tab"), NameList{});
}

TEST(PageSearchTest, HitsCarryTitlesOrNames) {
  const BookImage book =
      TestArchive()
          .Add("TITLED.HTM", "<html><head><TITLE> The Title </TITLE></head>word</html>")
          .Add("UNTITLED.HTM", "<html><body>word</body></html>")
          .Add("EMPTY.HTM", "<title></title>word")
          .Add("LINES.HTML", "<title>First line\nSecond line</title>word")
          .Add("ATTRS.HTM", "<title id=\"t\">With attributes</title>word")
          .Add("REFS.HTM", "<title>ast &#8212; Abstract &amp; more</title>word")
          .Add("UTF8.HTM", "<title>Pr\xC3\xA9" "face</title>word")
          .Add("ANSI.HTM", "<title>Pr\xE9" "face</title>word")
          .Add("NOTES.TXT", "word in plain text")
          .Book();
  const SearchResult result = SearchAllPages(book, "word");
  ASSERT_EQ(result.hits.size(), 9u);
  // Captions are UTF-8, decoded from the page's encoding, character references included.
  const char* captions[] = {"The Title",
                            "UNTITLED.HTM",
                            "",
                            "First line\nSecond line",
                            "With attributes",
                            "ast \xE2\x80\x94 Abstract & more",
                            "Pr\xC3\xA9" "face",
                            "Pr\xC3\xA9" "face",
                            "NOTES.TXT"};
  for (size_t i = 0; i < result.hits.size(); ++i) {
    EXPECT_EQ(result.hits[i].number, i);
    EXPECT_EQ(result.hits[i].caption, captions[i]) << result.hits[i].name;
  }
}

TEST(PageSearchTest, OnlyPageExtensionsAreSearched) {
  const BookImage book = TestArchive()
                             .AddStored("XSE1.QRLC", "[cSettings]\nDATA=word")
                             .Add("A.HTM", "word")
                             .Add("B.HTML", "word")
                             .Add("C.TXT", "word")
                             .AddStored("d.htm", "word")  // never stored so by the writer
                             .Add("E.XHTML", "word")
                             .Add("F.TEXT", "word")
                             .Add("G.ASP", "word")
                             .Add("H.HTM.BAK", "word")
                             .Add("PICS/I.GIF", "word")
                             .Add("SUB/J.HTM", "word")
                             .Book();
  EXPECT_EQ(Found(book, "word"), (NameList{"A.HTM", "B.HTML", "C.TXT", "SUB/J.HTM"}));
}

TEST(PageSearchTest, NamesTheReaderCannotFindHaveNoContent) {
  // A stored name with a lower-case letter is listed but never read; a blank around a stored
  // name is trimmed from the listed name, which then reads nothing either.
  const BookImage book = TestArchive()
                             .AddStored("sub/A.HTM", "word")
                             .AddStored(" B.HTM", "word")
                             .Add("C.HTM", "word")
                             .Book();
  EXPECT_EQ(Found(book, "word"), NameList{"C.HTM"});
}

TEST(PageSearchTest, ResultsStandInArchiveOrderEachPageOnce) {
  const BookImage book = TestArchive()
                             .Add("ZEBRA.HTM", "<title>Alpha</title>word word word")
                             .Add("SUB/ANT.HTM", "<title>Zulu</title>WORD")
                             .Add("MIDDLE.HTM", "nothing")
                             .Add("APPLE.TXT", "words")
                             .Book();
  EXPECT_EQ(Found(book, "word"), (NameList{"ZEBRA.HTM", "SUB/ANT.HTM", "APPLE.TXT"}));
}

// Enough pages of varied sizes that the workers finish them out of order.
TestArchive ManyPages(size_t count, size_t hitEvery, size_t first = 0) {
  TestArchive archive;
  for (size_t i = first; i < first + count; ++i) {
    std::string page = "<title>Page " + std::to_string(i) + "</title>";
    page.append((i * 7919) % 20000, 'x');
    if (i % hitEvery == 0) page += "Needle";
    archive.Add(PageName(100000 + i), page);
  }
  return archive;
}

TEST(PageSearchTest, ManyPagesKeepArchiveOrder) {
  const BookImage book = ManyPages(600, 7).Book();
  for (unsigned workers : {1u, 2u, 5u}) {
    std::vector<SearchHit> hits;
    const SearchOutcome outcome = PageSearch(workers).Run(
        book, "needle", [&](const SearchHit& hit) { hits.push_back(hit); });
    EXPECT_TRUE(outcome.searched);
    EXPECT_FALSE(outcome.error);
    ASSERT_EQ(hits.size(), 86u) << workers << " workers";
    ASSERT_EQ(outcome.hits, 86u);
    for (size_t n = 0; n < hits.size(); ++n) {
      EXPECT_EQ(hits[n].number, n);
      EXPECT_EQ(hits[n].name, PageName(100000 + n * 7));
      EXPECT_EQ(hits[n].caption, "Page " + std::to_string(n * 7));
    }
  }
}

TEST(PageSearchTest, ABigPageBeforeSmallOnesLeavesNothingBehind) {
  std::string big(3 << 20, 'y');
  big += "needle";
  const BookImage book = TestArchive()
                             .Add("BIG.HTM", big)
                             .Add("SMALL.HTM", "y")
                             .Add("EMPTY.HTM", "")
                             .Add("LAST.HTM", "a needle")
                             .Book();
  EXPECT_EQ(Found(book, "needle"), (NameList{"BIG.HTM", "LAST.HTM"}));
}

TEST(PageSearchTest, EmptyQueryDoesNothing) {
  const BookImage book = TestArchive().Add("A.HTM", "  ").Book();
  for (const char* typed : {"", " ", "\t\r\n"}) {
    bool called = false;
    const SearchOutcome outcome =
        PageSearch().Run(book, typed, [&](const SearchHit&) { called = true; });
    EXPECT_FALSE(outcome.searched);
    EXPECT_FALSE(called);
  }
}

// A zlib stream of `content` at `level`, optionally asking for a preset dictionary.
std::string Deflated(std::string_view content, int level, std::string_view dictionary = {}) {
  z_stream zs{};
  deflateInit(&zs, level);
  if (!dictionary.empty())
    deflateSetDictionary(&zs, reinterpret_cast<const Bytef*>(dictionary.data()),
                         static_cast<uInt>(dictionary.size()));
  std::string out(deflateBound(&zs, content.size()), '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
  zs.avail_in = static_cast<uInt>(content.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

TEST(PageSearchTest, PagesAreReadAsTheReaderReadsThem) {
  const std::string page = "<title>T</title>" + std::string(100000, 'w') + "word";
  const BookImage book = TestArchive()
                             .AddRaw("STORED.HTM", Deflated(page, 0))
                             .AddRaw("BEST.HTM", Deflated(page, 9))
                             .AddRaw("TRAILING.HTM", CompressBytes(page) + "bytes after the stream")
                             .Book();
  EXPECT_EQ(Found(book, "WORD"), (NameList{"STORED.HTM", "BEST.HTM", "TRAILING.HTM"}));
}

TEST(PageSearchTest, DamagedPageEndsTheSearchWithTheHitsSoFar) {
  const struct {
    const char* what;
    std::string data;
    const char* error;
  } cases[] = {
      {"check value", CorruptedStream("word"), "data error"},
      {"not zlib", "plain text", "data error"},
      {"cut short", CompressBytes(std::string(5000, 'w')).substr(0, 20), "buffer error"},
      {"no data", "", "buffer error"},
      {"preset dictionary", Deflated("word", 6, "word"), "stream error"},
  };
  for (const auto& c : cases) {
    const BookImage book = TestArchive()
                               .Add("ONE.HTM", "word")
                               .Add("TWO.HTM", "none")
                               .Add("THREE.HTM", "word")
                               .AddRaw("PICS/BROKEN.GIF", "not inflated: no page")
                               .AddRaw("BROKEN.HTM", c.data)
                               .Add("FIVE.HTM", "word")
                               .Book();
    const SearchResult result = SearchAllPages(book, "word");
    EXPECT_EQ(Names(result), (NameList{"ONE.HTM", "THREE.HTM"})) << c.what;
    ASSERT_TRUE(result.error) << c.what;
    EXPECT_EQ(*result.error, c.error) << c.what;
  }
}

// A page that inflates past the memory left must not be given a buffer the system cannot
// back (Linux would end the process when it is filled): it ends the search as running out of
// memory, and the memory goes back for a search that fits.
TEST(PageSearchTest, PageLargerThanTheMemoryLeftEndsTheSearch) {
  const BookImage book = TestArchive()
                             .Add("ONE.HTM", "word")
                             .Add("BIG.HTM", std::string(96 << 20, ' ') + "word")
                             .Add("THREE.HTM", "word")
                             .Book();
  SetAvailableMemoryProbe([]() -> size_t { return 150 << 20; });
  const SearchResult result = SearchAllPages(book, "word");
  SetAvailableMemoryProbe(nullptr);
  EXPECT_EQ(Names(result), NameList{"ONE.HTM"});
  ASSERT_TRUE(result.error);
  EXPECT_EQ(*result.error, "insufficient memory");
  EXPECT_EQ(Names(SearchAllPages(book, "word")), (NameList{"ONE.HTM", "BIG.HTM", "THREE.HTM"}));
}

TEST(PageSearchTest, DamagedPageAmongManyStopsAtItsPlace) {
  TestArchive archive = ManyPages(400, 5);
  archive.AddRaw("BROKEN.HTM", CorruptedStream("needle"));
  const BookImage book = BookImage::FromBytes(archive.bytes() + ManyPages(100, 1, 400).bytes());
  const SearchResult result = SearchAllPages(book, "needle");
  EXPECT_EQ(result.hits.size(), 80u);
  ASSERT_TRUE(result.error);
  EXPECT_EQ(*result.error, "data error");
}

TEST(PageSearchTest, CancelStopsTheSearch) {
  const BookImage book = ManyPages(300, 3).Book();
  std::atomic<bool> cancel{false};
  size_t delivered = 0;
  const SearchOutcome outcome = PageSearch().Run(
      book, "needle",
      [&](const SearchHit&) {
        ++delivered;
        cancel = true;
      },
      &cancel);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_EQ(delivered, 1u);
  EXPECT_EQ(outcome.hits, 1u);
}

TEST(PageSearchTest, ProgressReachesEveryPageInOrder) {
  const BookImage book = ManyPages(100, 10).Add("PIC.GIF", "needle").Book();
  PageSearch search;
  std::vector<size_t> done;
  search.SetProgressHandler([&](size_t pages, size_t total) {
    EXPECT_EQ(total, 100u);
    done.push_back(pages);
  }, 30);
  search.Run(book, "needle", nullptr);
  EXPECT_EQ(done, (std::vector<size_t>{30, 60, 90, 100}));
}

}  // namespace
}  // namespace ebook
