// Which stored entry a requested page name reaches: exact names first, then the forms web
// sites link their pages with.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "navigation/EntryLookup.h"

namespace ebook {
namespace {

const std::set<std::string> kStored = {
    "INDEX.HTML",         "GLOSSARY.HTML",  "_STATIC/THEME.CSS", "IMAGES/LOGO.PNG",
    "PAGE.HTM?X=1",       "A.HTML#B",       "SUB/INDEX.HTM",     "CAF\xC3\xA9.HTML",
    "DOCS/API/CLASS.HTML", "MY PIC.JPG"};

std::optional<std::string> Resolve(std::string_view requested) {
  return ResolveEntryName(requested, [](std::string_view name) {
    std::string upper(name);
    for (char& c : upper)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return kStored.count(upper) > 0;
  });
}

TEST(EntryLookupTest, FindsWhatAWebServerWouldServe) {
  struct Case {
    const char* requested;
    const char* found;  // "" when nothing is found
  };
  const Case cases[] = {
      {"glossary.html", "glossary.html"},
      {"glossary.html#index-19", "glossary.html"},
      {"_static/theme.css?2022.1", "_static/theme.css"},
      {"_static/theme.css?v=1#x", "_static/theme.css"},
      {"images//logo.png", "images/logo.png"},
      {"./images/./logo.png", "images/logo.png"},
      {"docs/x/../api/class.html#m", "docs/api/class.html"},
      {"docs//api///class.html", "docs/api/class.html"},
      {"caf%C3%A9.html", "caf\xC3\xA9.html"},
      {"caf%c3%a9.html", "caf\xC3\xA9.html"},
      {"sub/", "sub/index.htm"},
      {"sub/other/..", "sub/index.htm"},
      {"", "index.html"},
      {"sub/#top", "sub/index.htm"},
      {"search.html?q=word", ""},
      {"../index.html", ""},
      {"docs/../../index.html", ""},
      {"missing.html#a", ""},
      {"my pic.jpg", "my pic.jpg"},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> found = Resolve(c.requested);
    EXPECT_EQ(found.value_or(""), c.found) << c.requested;
  }
}

TEST(EntryLookupTest, AStoredNameIsAlwaysTakenAsItIs) {
  // Names that hold a query or fragment themselves are found before anything is cut off.
  EXPECT_EQ(Resolve("page.htm?x=1").value_or(""), "page.htm?x=1");
  EXPECT_EQ(Resolve("a.html#b").value_or(""), "a.html#b");
  const std::vector<std::string> candidates = EntryNameCandidates("a//b.html?q#f");
  ASSERT_FALSE(candidates.empty());
  EXPECT_EQ(candidates.front(), "a//b.html?q#f");
  EXPECT_EQ(candidates, (std::vector<std::string>{"a//b.html?q#f", "a//b.html?q", "a//b.html",
                                                  "a/b.html"}));
}

}  // namespace
}  // namespace ebook
