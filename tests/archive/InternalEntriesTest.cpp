// The book's own entries are told apart from its pages by one rule everywhere: the archive's
// book order, the temporary folder, the tool's builder, checker and extractor.

#include <gtest/gtest.h>

#include "archive/InternalEntries.h"

namespace ebook {
namespace {

TEST(InternalEntries, EveryOwnEntryEndsInQrlcInAnyLetterCase) {
  for (std::string_view name : {kSettingsEntry, kSplashMarkerEntry, kSplashPictureEntry, kTocEntry,
                                kLogoEntry})
    EXPECT_TRUE(IsInternalEntry(name)) << name;
  for (int n = 1; n <= kButtonPictureCount; ++n) EXPECT_TRUE(IsInternalEntry(ButtonPictureEntry(n)));
  for (const char* name : {"x.qrlc", "SUB/X.Qrlc", ".QRLC"}) EXPECT_TRUE(IsInternalEntry(name)) << name;
  for (const char* name : {"", "QRLC", "X.QRLC.HTML", "XQRLC", "X.QRL", "X.QRLC/"})
    EXPECT_FALSE(IsInternalEntry(name)) << name;
}

TEST(InternalEntries, ButtonPicturesAreNumberedFromOne) {
  EXPECT_EQ(ButtonPictureEntry(1), "B1.QRLC");
  EXPECT_EQ(ButtonPictureEntry(kButtonPictureCount), "B10.QRLC");
}

}  // namespace
}  // namespace ebook
