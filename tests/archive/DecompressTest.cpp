#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "archive/MemoryBudget.h"
#include "archive/ZLib.h"

namespace ebook {
namespace {

std::string Expect(std::string_view input) {
  try {
    DecompressBytes(input);
  } catch (const EZDecompressionError& error) {
    return error.what();
  }
  return "no error";
}

TEST(DecompressBytes, RoundTripsSmallLargeAndIncompressibleContent) {
  std::mt19937 random(7);
  std::string noise(300000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  for (const std::string& content :
       {std::string("a"), std::string(1000, 'z'), noise, std::string(64 << 20, '\0')}) {
    const std::string compressed = CompressBytes(content);
    EXPECT_EQ(compressed.substr(0, 2), "\x78\x9C");
    EXPECT_EQ(DecompressBytes(compressed), content) << content.size();
  }
}

TEST(DecompressBytes, IgnoresBytesAfterTheStream) {
  EXPECT_EQ(DecompressBytes(CompressBytes("page") + "trailing junk"), "page");
}

TEST(DecompressBytes, FailuresCarryZlibsMessages) {
  const std::string good = CompressBytes(std::string(2000, 'q'));
  EXPECT_EQ(Expect(""), "buffer error");
  EXPECT_EQ(Expect("not zlib at all"), "data error");
  EXPECT_EQ(Expect(good.substr(0, good.size() - 1)), "buffer error");
  EXPECT_EQ(Expect(good.substr(0, 2)), "buffer error");
}

TEST(DecompressBytes, StreamNeedingAPresetDictionaryFailsInsteadOfLooping) {
  z_stream zs{};
  ASSERT_EQ(deflateInit(&zs, Z_DEFAULT_COMPRESSION), Z_OK);
  const std::string dictionary = "dictionary words";
  deflateSetDictionary(&zs, reinterpret_cast<const Bytef*>(dictionary.data()),
                       static_cast<uInt>(dictionary.size()));
  std::string input = "dictionary words again", out(256, '\0');
  zs.next_in = reinterpret_cast<Bytef*>(input.data());
  zs.avail_in = static_cast<uInt>(input.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  ASSERT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  EXPECT_EQ(Expect(out), "stream error");
}

TEST(DecompressBytes, AnEntryLargerThanTheMemoryLeftFailsInsteadOfEndingTheProcess) {
  const std::string bomb = CompressBytes(std::string(64 << 20, '\0'));
  SetAvailableMemoryProbe([]() -> size_t { return 100 << 20; });
  EXPECT_EQ(Expect(bomb), "insufficient memory");
  EXPECT_EQ(DecompressBytes(CompressBytes("small")), "small");
  SetAvailableMemoryProbe(nullptr);
  EXPECT_EQ(DecompressBytes(bomb).size(), size_t{64} << 20);
}

}  // namespace
}  // namespace ebook
