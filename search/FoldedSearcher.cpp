#include "search/FoldedSearcher.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ebook {
namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

#if defined(__SSE2__)
bool IsLowerLetter(char c) { return c >= 'a' && c <= 'z'; }
#endif

}  // namespace

namespace {

// How common a byte is in book pages, higher for rarer: letters by their frequency in English
// prose, markup and blanks most common of all. Only the order matters.
int Rarity(char c) {
  static constexpr std::string_view kLetters = "etaoinshrdlcumwfgypbvkjxqz";
  static constexpr std::string_view kMarkup = " <>=\"/.,:;-_#'\n\r\t";
  if (kMarkup.find(c) != std::string_view::npos) return 0;
  if (const size_t at = kLetters.find(c); at != std::string_view::npos)
    return 10 + static_cast<int>(at);
  if (c >= '0' && c <= '9') return 20;
  return 30;  // other punctuation, bytes of other scripts
}

}  // namespace

FoldedSearcher::FoldedSearcher(std::string_view query) : query_(query) {
  // The blocks test two bytes of the query at once; the rarer they are in pages, the fewer
  // places are compared in full. The last byte is always one of them when nothing is rarer.
  if (query_.size() < 2) return;
  size_t rarest = query_.size() - 1;
  for (size_t i = 0; i < query_.size(); ++i)
    if (Rarity(query_[i]) > Rarity(query_[rarest])) rarest = i;
  size_t other = rarest == 0 ? query_.size() - 1 : 0;
  for (size_t i = 0; i < query_.size(); ++i)
    if (i != rarest && Rarity(query_[i]) > Rarity(query_[other])) other = i;
  first_ = std::min(rarest, other);
  second_ = std::max(rarest, other);
}

bool FoldedSearcher::MatchesAt(const char* at) const {
  for (size_t i = 0; i < query_.size(); ++i)
    if (Fold(at[i]) != query_[i]) return false;
  return true;
}

bool FoldedSearcher::Contains(std::string_view text) const {
  const size_t m = query_.size();
  if (m == 0) return true;
  if (text.size() < m) return false;
  const char* data = text.data();
  const size_t lastStart = text.size() - m;  // the last position where the query fits
  size_t i = 0;
#if defined(__SSE2__)
  // A lower-case letter matches a byte b exactly when (b | 0x20) equals it; other bytes are
  // compared as they are.
  const char first = query_[first_];
  const char last = query_[second_];
  const __m128i firstByte = _mm_set1_epi8(first);
  const __m128i lastByte = _mm_set1_epi8(last);
  const __m128i firstFold = _mm_set1_epi8(IsLowerLetter(first) ? 0x20 : 0);
  const __m128i lastFold = _mm_set1_epi8(IsLowerLetter(last) ? 0x20 : 0);
  for (; i + 16 <= lastStart + 1; i += 16) {
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + first_));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + second_));
    const __m128i both =
        _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(head, firstFold), firstByte),
                      _mm_cmpeq_epi8(_mm_or_si128(tail, lastFold), lastByte));
    for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(both)); mask != 0;
         mask &= mask - 1) {
      if (MatchesAt(data + i + static_cast<unsigned>(__builtin_ctz(mask)))) return true;
    }
  }
#endif
  for (; i <= lastStart; ++i)
    if (MatchesAt(data + i)) return true;
  return false;
}

}  // namespace ebook
