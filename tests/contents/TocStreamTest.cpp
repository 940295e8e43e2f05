#include <gtest/gtest.h>

#include <algorithm>

#include "contents/TocStream.h"
#include "contents/TocText.h"

namespace ebook {
namespace {

void PutInt(std::string& out, int32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF));
}

// One record: caption, level, three picture indexes, data, child count.
std::string Record(std::string_view caption, int32_t level, std::string_view data, int32_t children) {
  std::string out;
  PutInt(out, static_cast<int32_t>(caption.size()));
  out += caption;
  PutInt(out, level);
  PutInt(out, 0);
  PutInt(out, -1);
  PutInt(out, 0);
  PutInt(out, static_cast<int32_t>(data.size()));
  out += data;
  PutInt(out, children);
  return out;
}

const char kText[] =
    "Cover\tINDEX.HTML\n"
    "Part one\n"
    "  Chapter 1\tP1/C1.HTML\n"
    "    Section\tP1/C1.HTML#S\n"
    "  Chapter 2\tP1/C2.HTML\n"
    "Appendix\t A.HTML \n";

TEST(TocStream, TextStreamTextRoundTrip) {
  const TocTree tree = ReadTocStream(WriteTocStream(ParseTocText(kText)));
  EXPECT_FALSE(tree.damaged);
  EXPECT_EQ(FormatTocText(tree), std::string(kText).replace(std::string(kText).find("Part one\n"), 9, "Part one\t\n"));
  ASSERT_EQ(tree.nodes.size(), 6u);
  EXPECT_EQ(TocPageName(tree.nodes[3].data), "P1/C1.HTML#S");
  EXPECT_EQ(TocPageName(tree.nodes[5].data), " A.HTML ");
  EXPECT_EQ(tree.nodes[2].parent, 1);
  EXPECT_EQ(tree.nodes[0].data.size(), 512u);
}

TEST(TocStream, DepthFirstOrderWalksEveryNodeBothWays) {
  const TocTree tree = ParseTocText(kText);
  std::vector<int> forward;
  for (int n = tree.First(); n >= 0; n = tree.NextInOrder(n)) forward.push_back(n);
  EXPECT_EQ(forward, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  std::vector<int> backward;
  for (int n = tree.Last(); n >= 0; n = tree.PreviousInOrder(n)) backward.push_back(n);
  EXPECT_EQ(backward, (std::vector<int>{5, 4, 3, 2, 1, 0}));
}

TEST(TocStream, ANodeOfLevelZeroAmongChildrenBecomesTopLevel) {
  std::string stream;
  PutInt(stream, 1);
  stream += Record("Parent", 0, "", 2);
  stream += Record("Child", 1, "", 0);
  stream += Record("Escaped", 0, "", 1);
  stream += Record("Its child", 1, "", 0);
  const TocTree tree = ReadTocStream(stream);
  EXPECT_FALSE(tree.damaged);
  EXPECT_EQ(tree.roots, (std::vector<int>{0, 2}));
  EXPECT_EQ(tree.nodes[0].children, std::vector<int>{1});
  EXPECT_EQ(tree.nodes[2].children, std::vector<int>{3});
}

TEST(TocStream, DamagedStreamsLoadTheNodesBeforeTheDamage) {
  const std::string good = WriteTocStream(ParseTocText(kText));
  for (size_t cut = 0; cut < good.size(); ++cut) {
    const TocTree tree = ReadTocStream(good.substr(0, cut));
    EXPECT_LE(tree.nodes.size(), 6u);
    EXPECT_EQ(tree.damaged, cut > 0) << cut;
  }

  std::string huge;
  PutInt(huge, INT32_MAX);
  huge += Record("Only", 0, "", INT32_MAX);
  EXPECT_EQ(ReadTocStream(huge).nodes.size(), 1u);
  EXPECT_TRUE(ReadTocStream(huge).damaged);

  std::string hugeCaption;
  PutInt(hugeCaption, 1);
  PutInt(hugeCaption, INT32_MAX);
  EXPECT_TRUE(ReadTocStream(hugeCaption).nodes.empty());

  std::string negative;
  PutInt(negative, -5);
  EXPECT_TRUE(ReadTocStream(negative).nodes.empty());
}

TEST(TocStream, AMillionLevelsDeepLoadsWithoutRecursion) {
  constexpr int kDepth = 1000000;
  std::string stream;
  PutInt(stream, 1);
  for (int i = 0; i < kDepth; ++i) stream += Record("", i == 0 ? 0 : 1, "", i + 1 < kDepth ? 1 : 0);
  const TocTree tree = ReadTocStream(stream);
  EXPECT_FALSE(tree.damaged);
  EXPECT_EQ(tree.nodes.size(), static_cast<size_t>(kDepth));
  EXPECT_EQ(tree.Last(), kDepth - 1);
  // Its text form stops at a depth whose lines still fit in memory, and says how much it left
  // out; a sibling after the deep chain is still written.
  TocTree withSibling = tree;
  TocNode after;
  after.caption = "After";
  withSibling.nodes.push_back(after);
  withSibling.roots.push_back(kDepth);
  size_t leftOut = 0;
  const std::string text = FormatTocText(withSibling, &leftOut);
  EXPECT_EQ(leftOut, kDepth - kMaxTocTextDepth);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(kMaxTocTextDepth + 1));
  EXPECT_TRUE(text.ends_with("\nAfter\t\n"));
}

TEST(TocPageName, AbsentOrShortBlocksNameNoPage) {
  EXPECT_EQ(TocPageName(""), "");
  EXPECT_EQ(TocPageName(std::string(256, 'x')), "");
  std::string block = MakeTocNodeData("PAGE.HTML");
  EXPECT_EQ(TocPageName(block), "PAGE.HTML");
  EXPECT_EQ(TocPageName(block.substr(0, 260)), "");
  EXPECT_EQ(MakeTocNodeData(std::string(300, 'p')).size(), 512u);
  EXPECT_EQ(TocPageName(MakeTocNodeData(std::string(300, 'p'))).size(), 255u);
}

TEST(TocText, RejectsLinesItCannotPlace) {
  const std::pair<const char*, int> cases[] = {
      {"A\tx\n   B\ty\n", 2}, {"A\tx\n    B\ty\n", 2}, {"  A\tx\n", 1},
      {"A\tx\n\t\n\n\tNoCaption\n", 4}};
  for (const auto& [text, line] : cases) {
    try {
      ParseTocText(text);
      ADD_FAILURE() << text;
    } catch (const TocTextError& error) {
      EXPECT_EQ(error.line(), line) << text;
    }
  }
}

}  // namespace
}  // namespace ebook
