#include <gtest/gtest.h>

#include "navigation/LinkCommand.h"
#include "archive/BookImage.h"

namespace ebook {
namespace {

struct CommandCase {
  const char* address;
  LinkCommandWord kind;
  const char* word;
  const char* argument;
};

TEST(ParseLinkCommand, FollowsTheAddressGrammar) {
  using W = LinkCommandWord;
  const CommandCase cases[] = {
      {"ebook://book/PAGE.HTML#DO#SHOW#Welcome%20back", W::Show, "SHOW#", "WELCOME BACK"},
      {"ebook://book/page.html#do#show#hi", W::Show, "SHOW#", "HI"},
      {"#DO#open#$drv$%5Cdocs%5Cguide.pdf", W::Open, "OPEN#", "$DRV$\\DOCS\\GUIDE.PDF"},
      {"#DO#OPEN#a%5cb", W::Open, "OPEN#", "A%5CB"},              // lower-case escape stays
      {"#DO#SHOW#%41%2520", W::Show, "SHOW#", "%41%2520"},          // nothing else decoded
      {"#DO#SHOW#x#DO#EXIT#", W::Show, "SHOW#", "X#DO#EXIT#"},       // only the first marker
      {"#DO#SHOW#caf\xe9", W::Show, "SHOW#", "CAF\xe9"},             // non-ASCII keeps its case
      {"#DO#EXIT#", W::Exit, "EXIT#", ""},
      {"#DO#QUIT#now", W::Quit, "QUIT#", "NOW"},
      {"#DO#FIND#", W::Find, "FIND#", ""},
      {"#DO#toc1#", W::Toc1, "TOC1#", ""},
      {"#DO#PRIN#", W::Prin, "PRIN#", ""},
      {"#DO#HELP#", W::Unknown, "HELP#", ""},
      {"#DO#SHO", W::Unknown, "SHO", ""},
      {"#DO#", W::Unknown, "", ""},
      {"#DO#SHOW#%", W::Show, "SHOW#", "%"},
  };
  for (const CommandCase& c : cases) {
    const auto command = ParseLinkCommand(c.address);
    ASSERT_TRUE(command) << c.address;
    EXPECT_EQ(command->kind, c.kind) << c.address;
    EXPECT_EQ(command->word, c.word) << c.address;
    EXPECT_EQ(command->argument, c.argument) << c.address;
  }
  EXPECT_FALSE(ParseLinkCommand("ebook://book/PAGE.HTML#DOS"));
  EXPECT_FALSE(ParseLinkCommand("https://example.com/#D0#SHOW#x"));
}

TEST(PageTargetOf, DropsTheBaseAndDecodesLikeCommands) {
  EXPECT_EQ(PageTargetOf("ebook://book/sub%5Cmy%20page.html", 13), "SUB\\MY PAGE.HTML");
  EXPECT_EQ(PageTargetOf("ebook://book/", 13), "");
  EXPECT_EQ(PageTargetOf("x", 13), "");
}

TEST(ExpandOpenArgument, DriveFirstThenSystemVolume) {
  EXPECT_EQ(ExpandOpenArgument("$DRV$\\DOCS\\A.PDF", "E:", "C:"), "E:\\DOCS\\A.PDF");
  EXPECT_EQ(ExpandOpenArgument("$WIN$/X $DRV$/Y", "/media/usb", ""), "/X /media/usb/Y");
}

}  // namespace
}  // namespace ebook
