#include <gtest/gtest.h>

#include <algorithm>

#include "platform/PathCase.h"
#include "support/Scratch.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

TEST(ResolvePathIgnoringCase, FindsTheFileWhateverItsCase) {
  const testing::Scratch scratch;
  const std::filesystem::path& root = scratch.path();
  scratch.Write("docs/Sub/guide.pdf", "pdf");
  std::string written = UpperAscii((root / "docs/Sub/guide.pdf").string());
  std::replace(written.begin(), written.end(), '/', '\\');
  EXPECT_EQ(ResolvePathIgnoringCase(written), (root / "docs/Sub/guide.pdf").string());
  EXPECT_EQ(ResolvePathIgnoringCase((root / "DOCS/SUB/GUIDE.PDF").string()),
            (root / "docs/Sub/guide.pdf").string());
  EXPECT_EQ(ResolvePathIgnoringCase((root / "DOCS/MISSING.PDF").string()),
            (root / "DOCS/MISSING.PDF").string());
  EXPECT_EQ(ResolvePathIgnoringCase("HTTPS://EXAMPLE.COM/"), "HTTPS://EXAMPLE.COM/");
}

}  // namespace
}  // namespace ebook
