// One set of page-name rules for the viewer, the book tool and its checker: where a link as
// written leads, and the escapes, schemes and character references it may carry.

#include <gtest/gtest.h>

#include "navigation/EntryLookup.h"

namespace ebook {
namespace {

using Kind = LinkedPage::Kind;

TEST(LinkedPage, LeadsWhereTheBrowserGoes) {
  const struct {
    const char* from;
    const char* address;
    Kind kind;
    const char* path;
    const char* tail;
  } cases[] = {
      {"sub/page.html", "other.html", Kind::Page, "sub/other.html", ""},
      {"sub/page.html", "../Top.html?x=1#a", Kind::Page, "Top.html", "?x=1#a"},
      {"sub/page.html", "/a//b/./c.html", Kind::Page, "a/b/c.html", ""},
      {"sub/page.html", " \t./deeper/ \n", Kind::Page, "sub/deeper/", ""},
      {"sub/page.html", ".", Kind::Page, "sub/", ""},
      {"sub/page.html", "..", Kind::Page, "", ""},
      {"sub/page.html", "#part", Kind::Page, "sub/page.html", "#part"},
      {"sub/page.html", "my%20pic.png", Kind::Page, "sub/my%20pic.png", ""},
      {"page.html", "../x.html", Kind::AboveTop, "", ""},
      {"sub/page.html", "../../x.html#a", Kind::AboveTop, "", ""},
      {"page.html", "", Kind::Elsewhere, "", ""},
      {"page.html", "   ", Kind::Elsewhere, "", ""},
      {"page.html", "//host/x.html", Kind::Elsewhere, "", ""},
      {"page.html", "https://example.com/a.html", Kind::Elsewhere, "", ""},
      {"page.html", "mailto:a@b.c", Kind::Elsewhere, "", ""},
      {"page.html", "x.html#DO#EXIT#", Kind::Elsewhere, "", ""},
      // A colon after the first "/", "?" or "#" is no scheme.
      {"page.html", "dir/a:b.html", Kind::Page, "dir/a:b.html", ""},
      {"page.html", "a.html?t=10:30", Kind::Page, "a.html", "?t=10:30"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " -> " + c.address);
    const LinkedPage page = ResolveLinkedPage(c.from, c.address);
    EXPECT_EQ(page.kind, c.kind);
    EXPECT_EQ(page.path, c.path);
    EXPECT_EQ(page.tail, c.tail);
  }
  EXPECT_TRUE(ResolveLinkedPage("p.html", "?q").samePage);
  EXPECT_FALSE(ResolveLinkedPage("p.html", "q.html").samePage);
}

TEST(LinkedPage, SchemesAreLettersThenSchemeCharactersThenAColon) {
  for (const char* address : {"http:x", "a+b-c.d:x", "Z9:x", "data:image/png;base64,AA"})
    EXPECT_TRUE(HasScheme(address)) << address;
  for (const char* address : {":x", "9a:x", "a b:x", "a/b:c", "a?b:c", "a#b:c", "plain.html"})
    EXPECT_FALSE(HasScheme(address)) << address;
}

TEST(LinkedPage, EscapesDecodeOnlyWhereTheViewerDecodesThem) {
  EXPECT_EQ(SpaceEscapesDecoded("my%20pic%2Fx%20.png"), "my pic%2Fx .png");
  EXPECT_EQ(PercentDecoded("caf%C3%A9%2f%zz%4"), "caf\xC3\xA9/%zz%4");
  // Character references are HTML's, decoded before the browser requests the address.
  EXPECT_EQ(LinkAddressInHtml(" a&#45;b.html "), "a-b.html");
  EXPECT_EQ(LinkAddressInHtml("page&#x32;.html"), "page2.html");
  EXPECT_EQ(LinkAddressInHtml("r&amp;d.html?x=1&amp;y=2"), "r&d.html?x=1&y=2");
  EXPECT_EQ(LinkAddressInHtml("a&amp;amp;b.html"), "a&amp;b.html");
  EXPECT_EQ(LinkAddressInHtml("AT&T.html"), "AT&T.html");
}

TEST(LinkedPage, CollapsedPathKeepsAFolderAFolder) {
  EXPECT_EQ(CollapsedPath("a/./b//c/../d.html"), "a/b/d.html");
  EXPECT_EQ(CollapsedPath("a/b/.."), "a/");
  EXPECT_EQ(CollapsedPath("a/."), "a/");
  EXPECT_EQ(CollapsedPath("a/.."), "");
  EXPECT_EQ(CollapsedPath(""), "");
  EXPECT_EQ(CollapsedPath("a/../.."), std::nullopt);
}

}  // namespace
}  // namespace ebook
