#include "search/SearchText.h"

#include <cstdint>
#include <cstring>

namespace ebook {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

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

std::string PagesFoundText(size_t count) { return std::to_string(count) + " Pages found"; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

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

std::string NormalizeQuery(std::string_view typed) {
  std::string lowered(typed);
  LowerAscii(lowered.data(), lowered.data(), lowered.size());
  return std::string(TrimBlanks(lowered));
}

std::string_view NameExtension(std::string_view name) {
  const size_t last = name.find_last_of(".\\:");
  if (last == std::string_view::npos || name[last] != '.') return {};
  return name.substr(last);
}

bool IsSearchablePage(std::string_view name) {
  const std::string_view extension = NameExtension(name);
  return extension == ".HTM" || extension == ".HTML" || extension == ".TXT";
}

std::string_view PageCaption(std::string_view page, std::string_view lowered,
                             std::string_view name) {
  constexpr std::string_view kOpen = "<title>";
  constexpr std::string_view kClose = "</title>";
  const size_t open = lowered.find(kOpen);
  const size_t close = lowered.find(kClose);
  if (open == std::string_view::npos || close == std::string_view::npos) return name;
  const size_t textBegin = open + kOpen.size();
  if (close < textBegin) return name;
  return TrimBlanks(page.substr(textBegin, close - textBegin));
}

}  // namespace ebook
