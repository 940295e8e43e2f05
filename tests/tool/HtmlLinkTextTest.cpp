// The checker follows a link as the browser requests it: in HTML the attribute's character
// references are decoded first, so "a&#45;b.html" leads to the page a-b.html; and the ids a
// fragment is looked for among are read the same way.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "PackCommand.h"
#include "PageLinks.h"
#include "RunTool.h"
#include "support/Scratch.h"
#include "archive/ArchiveWriter.h"

namespace ebook {
namespace {

using ::testing::HasSubstr;
using testing::RunTool;
using testing::Scratch;

TEST(HtmlLinkText, CharacterReferencesAreDecodedBeforeTheLinkIsFollowed) {
  const std::string html =
      "<a href=\"a&#45;b.html\">1</a>\n<a href='page&#x32;.html#t&#111;p'>2</a>\n"
      "<img src=\"x&amp;y.png\"><a href=\"n&#111;where.html\">3</a>";
  std::vector<std::string> found;
  for (const PageLink& link : HtmlLinks(html)) {
    const LinkTarget target = ResolveLink("INDEX.HTML", link.address);
    found.push_back(target.entry + "#" + target.fragment);
  }
  EXPECT_EQ(found, (std::vector<std::string>{"A-B.HTML#", "PAGE2.HTML#top", "X&Y.PNG#",
                                             "NOWHERE.HTML#"}));
  // A style sheet is no HTML: its text stays as written.
  const std::vector<PageLink> css = CssLinks("p { background: url(a&amp;b.png) }");
  ASSERT_EQ(css.size(), 1u);
  EXPECT_EQ(ResolveLink("S.CSS", css[0].address).entry, "A&AMP;B.PNG");
}

TEST(HtmlLinkText, CheckerFindsPagesNamedWithCharacterReferences) {
  std::vector<BookEntry> entries = {
      {"XSE1.QRLC", "[cSettings]\r\nDATA=1111111111000001000000000000201110\r\nhome=index.html\r\n"},
      {"index.html", "<a href=\"a&#45;b.html\">one</a>\n<a href=\"page&#x32;.html#top\">two</a>"},
      {"a-b.html", "<a href=\"index.html\">back</a>"},
      {"page2.html", "<h1 id=top>Two</h1><a href=\"index.html\">back</a>"},
  };
  SortInBookOrder(entries);
  Scratch scratch;
  const std::string book = scratch.Write("book", EncodeArchive(entries)).string();
  const testing::ToolRun run = RunTool({"check", book});
  EXPECT_EQ(run.code, kExitOk) << run.out << run.err;
  EXPECT_THAT(run.out, HasSubstr(": 0 errors, "));
  EXPECT_THAT(run.out, ::testing::Not(HasSubstr("no entry has this name")));
}

TEST(HtmlLinkText, IdsAreReadWithTheirCharacterReferencesDecoded) {
  // As javadoc writes a constructor's place and the links to it.
  std::vector<std::string> ids;
  HtmlLinks("<section id=\"&lt;init&gt;()\"></section><a name='a&amp;b'></a><p id=plain>", &ids);
  EXPECT_EQ(ids, (std::vector<std::string>{"<init>()", "a&b", "plain"}));

  std::vector<BookEntry> entries = {
      {"XSE1.QRLC", "[cSettings]\r\nDATA=1111111111000001000000000000201110\r\nhome=index.html\r\n"},
      {"index.html", "<a href=\"#%3Cinit%3E()\">new</a><a href=\"#missing\">gone</a>"
                     "<section id=\"&lt;init&gt;()\">Constructor</section>"},
  };
  SortInBookOrder(entries);
  Scratch scratch;
  const std::string book = scratch.Write("book", EncodeArchive(entries)).string();
  const testing::ToolRun run = RunTool({"check", book});
  EXPECT_THAT(run.out, ::testing::Not(HasSubstr("<init>")));
  EXPECT_THAT(run.out, HasSubstr("missing anchor 1)"));
}

}  // namespace
}  // namespace ebook
