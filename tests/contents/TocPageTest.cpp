#include <gtest/gtest.h>

#include "contents/TocPage.h"
#include "contents/TocStream.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

TEST(TocPageName, OnlyACompleteBlockNamesAPage) {
  const std::string block = MakeTocNodeData(" ch1.htm ");
  EXPECT_EQ(TocPageName(block), " ch1.htm ");
  EXPECT_EQ(TocPageName(block.substr(0, 511)), "");
  EXPECT_EQ(TocPageName(""), "");
  EXPECT_EQ(TocPageName(block + "extra bytes"), " ch1.htm ");
}

TEST(TocPageName, TrimmedForNavigationUpperCasedForComparison) {
  EXPECT_EQ(TrimControl(" \t sub/Page One.htm\r\n "), "sub/Page One.htm");
  EXPECT_EQ(ComparablePageName("  sub/Page One.htm#Top "), "SUB/PAGE ONE.HTM#TOP");
  // Only ASCII letters change case.
  EXPECT_EQ(ComparablePageName("caf\xe9.htm"), "CAF\xe9.HTM");
  EXPECT_EQ(ComparablePageName("   "), "");
}

TEST(PageNameInFolderTarget, StripsTheBookFolder) {
  struct Case {
    const char* target;
    const char* page;
  };
  // The folder file:///tmp/TMP12-34/, recorded without its first 13 characters.
  const char* folderTarget = "MP12-34/";
  const char* folderAddress = "file:///tmp/TMP12-34/";
  const Case cases[] = {
      {"MP12-34/CH1.HTM", "CH1.HTM"},
      {"MP12-34/SUB/CH1.HTM#PART", "SUB/CH1.HTM#PART"},
      // Spelled differently from the folder's address: found by the folder's name.
      {"C:\\USERS\\ME\\TEMP\\TMP12-34\\CH1.HTM", "CH1.HTM"},
      {"TMP12-34/CH1.HTM", "CH1.HTM"},
      // A longer name that merely contains the folder's name is another folder.
      {"MP/XTMP12-34/A/TMP12-34/CH1.HTM", "CH1.HTM"},
      // Outside the book: nothing to strip.
      {"TTPS://EXAMPLE.COM/TMP12-34", "TTPS://EXAMPLE.COM/TMP12-34"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PageNameInFolderTarget(c.target, folderTarget, folderAddress), c.page) << c.target;
  // The browser escaped what the folder's address holds plainly.
  EXPECT_EQ(PageNameInFolderTarget("Y%C3%A9/TMP1-2/CH1.HTM", "Y\xc3\xa9/TMP1-2/",
                                   "file:///my\xc3\xa9/tmp1-2/"),
            "CH1.HTM");
}

}  // namespace
}  // namespace ebook
