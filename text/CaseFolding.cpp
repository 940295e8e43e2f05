#include "text/CaseFolding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "text/Utf8.h"
#include "text/Windows1252.h"

namespace ebook {
namespace {

struct Folding {
  char32_t from, to;
};

constexpr Folding kFoldings[] = {
#include "text/CaseFoldingTable.inc"
};

// Below U+10000 a two-stage table: 128-character blocks, all blocks without a folding sharing
// one block of identities. The few foldings above are looked up in the sorted list.
class FoldTable {
 public:
  FoldTable() : blockOf_(0x10000 / kBlock, 0), blocks_(kBlock) {
    for (char32_t c = 0; c < kBlock; ++c) blocks_[c] = c;
    for (const Folding& f : kFoldings) {
      if (f.from >= 0x10000) continue;
      uint16_t& block = blockOf_[f.from / kBlock];
      if (block == 0) {
        block = static_cast<uint16_t>(blocks_.size() / kBlock);
        const char32_t first = f.from / kBlock * kBlock;
        for (char32_t c = 0; c < kBlock; ++c) blocks_.push_back(first + c);
      }
      blocks_[block * kBlock + f.from % kBlock] = f.to;
    }
  }

  char32_t Fold(char32_t code) const {
    if (code < 0x10000) {
      const uint16_t block = blockOf_[code / kBlock];
      return block == 0 ? code : blocks_[block * kBlock + code % kBlock];
    }
    const auto* end = std::end(kFoldings);
    const auto* at = std::lower_bound(std::begin(kFoldings), end, code,
                                      [](const Folding& f, char32_t c) { return f.from < c; });
    return (at != end && at->from == code) ? at->to : code;
  }

 private:
  static constexpr char32_t kBlock = 128;
  std::vector<uint16_t> blockOf_;
  std::vector<char32_t> blocks_;
};

const FoldTable& Table() {
  static const FoldTable table;
  return table;
}

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// Lower-cases eight bytes at once. Each byte's low seven bits are offset so that the top bit
// of the sum says ">= 'A'" in one word and "> 'Z'" in the other; neither sum can carry into the
// next byte. Bytes with the top bit set are not ASCII and stay as they are.
uint64_t LowerEight(uint64_t x) {
  const uint64_t low7 = x & ~kHighBits;
  const uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;
  const uint64_t aboveZ = low7 + (0x7F - 'Z') * kOnes;
  const uint64_t upper = (atLeastA ^ aboveZ) & ~x & kHighBits;
  return x | (upper >> 2);  // 0x80 >> 2 == 0x20, the case bit
}

}  // namespace

char32_t FoldCase(char32_t code) { return Table().Fold(code); }

void LowerAscii(const char* in, char* out, size_t size) {
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    memcpy(&word, in + i, 8);
    word = LowerEight(word);
    memcpy(out + i, &word, 8);
  }
  for (; i < size; ++i) {
    const char c = in[i];
    out[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
  }
}

void AppendFoldedUtf8(std::string_view in, std::string& out) {
  const FoldTable& table = Table();
  const size_t kept = out.size();
  // A folded character takes at most 3 bytes where it took 2; never more than that.
  out.resize(kept + in.size() + in.size() / 2 + 4);
  char* const begin = out.data();
  char* to = begin + kept;
  size_t i = 0;
  while (i < in.size()) {
    // ASCII runs eight bytes at a time.
    while (i + 8 <= in.size()) {
      uint64_t word;
      memcpy(&word, in.data() + i, 8);
      if (word & kHighBits) break;
      word = LowerEight(word);
      memcpy(to, &word, 8);
      to += 8, i += 8;
    }
    if (i >= in.size()) break;
    const auto lead = static_cast<unsigned char>(in[i]);
    if (lead < 0x80) {
      *to++ = (lead >= 'A' && lead <= 'Z') ? static_cast<char>(lead + 0x20) : static_cast<char>(lead);
      ++i;
      continue;
    }
    const Utf8Char c = ReadUtf8(in, i);
    const char32_t folded = c.valid ? table.Fold(c.code) : c.code;
    if (!c.valid || folded == c.code) {
      memcpy(to, in.data() + i, c.length);
      to += c.length;
    } else {
      std::string encoded;
      AppendUtf8(encoded, folded);
      memcpy(to, encoded.data(), encoded.size());
      to += encoded.size();
    }
    i += c.length;
  }
  out.resize(static_cast<size_t>(to - begin));
}

void FoldUtf8(std::string_view in, std::string& out) {
  out.clear();
  AppendFoldedUtf8(in, out);
}

std::string FoldUtf8(std::string_view in) {
  std::string out;
  FoldUtf8(in, out);
  return out;
}

const std::array<unsigned char, 256>& Windows1252FoldTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> fold{};
    for (int b = 0; b < 256; ++b) {
      const char32_t folded = FoldCase(Windows1252Char(static_cast<unsigned char>(b)));
      fold[b] = Windows1252Byte(folded).value_or(static_cast<unsigned char>(b));
    }
    return fold;
  }();
  return table;
}

}  // namespace ebook
