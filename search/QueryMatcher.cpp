#include "search/QueryMatcher.h"

#include <algorithm>

#include "archive/MemoryBudget.h"
#include "archive/ZLib.h"
#include "text/CaseFolding.h"
#include "text/PageEncoding.h"
#include "text/Utf8.h"
#include "text/Windows1252.h"

namespace ebook {
namespace {

// Pages are folded this much at a time: small enough to stay in the processor's cache.
constexpr size_t kChunk = 64 * 1024;

// The longest run of the folded query that every page holding it must hold byte for byte
// (ASCII letters compared without case): ASCII only, and without "s" and "k", which the long s
// and the Kelvin sign fold into.
std::string PrefilterRun(std::string_view folded) {
  std::string_view best;
  size_t begin = 0;
  for (size_t i = 0; i <= folded.size(); ++i) {
    const bool breaks = i == folded.size() || static_cast<unsigned char>(folded[i]) >= 0x80 ||
                        folded[i] == 's' || folded[i] == 'k';
    if (!breaks) continue;
    if (i - begin > best.size()) best = folded.substr(begin, i - begin);
    begin = i + 1;
  }
  return std::string(best);
}

std::optional<std::string> FoldedWindows1252(std::string_view query) {
  std::optional<std::string> bytes = Utf8ToWindows1252(query);
  if (!bytes) return std::nullopt;
  const auto& fold = Windows1252FoldTable();
  for (char& c : *bytes) c = static_cast<char>(fold[static_cast<unsigned char>(c)]);
  return bytes;
}

void AppendTableFolded(std::string_view in, std::string& out) {
  const auto& fold = Windows1252FoldTable();
  const size_t kept = out.size();
  out.resize(kept + in.size());
  char* to = out.data() + kept;
  for (const char c : in) *to++ = static_cast<char>(fold[static_cast<unsigned char>(c)]);
}

// Where a chunk that should end near `end` may end without cutting a UTF-8 character in two.
size_t CharBoundary(std::string_view page, size_t begin, size_t end) {
  size_t at = end;
  while (at > begin && end - at < 3 && at < page.size() &&
         (static_cast<unsigned char>(page[at]) & 0xC0) == 0x80)
    --at;
  return at > begin ? at : end;
}

}  // namespace

QueryMatcher::QueryMatcher(std::string_view query)
    : ascii_(!HasNonAscii(query)),
      searcher_(ascii_ ? FoldUtf8(query) : PrefilterRun(FoldUtf8(query))),
      utf8Pattern_(FoldUtf8(query)) {
  if (!ascii_) {
    havePrefilter_ = PrefilterRun(utf8Pattern_).size() >= 2;
    windows1252Pattern_ = FoldedWindows1252(query);
  }
}

bool QueryMatcher::Matches(std::string_view page) {
  if (ascii_) return searcher_.Contains(page);
  // Every charset a page can declare in ASCII keeps ASCII letters as single bytes; only UTF-16
  // (known by its byte-order mark) does not.
  const bool utf16 = page.starts_with("\xFF\xFE") || page.starts_with("\xFE\xFF");
  if (havePrefilter_ && !utf16 && !searcher_.Contains(page)) return false;
  const PageEncoding encoding = DetectPageEncoding(page);
  switch (encoding.kind) {
    case PageEncoding::Kind::kWindows1252:
      return windows1252Pattern_ && MatchesFolded(page, false);
    case PageEncoding::Kind::kUtf8:
      return MatchesFolded(page, true);
    case PageEncoding::Kind::kOther:
      break;
  }
  // Converted whole: up to twice the page's size for a moment.
  constexpr size_t kUnchecked = size_t{16} << 20;
  if (page.size() > kUnchecked) EnsureMemoryFor(page.size() * 2);
  return MatchesFolded(PageToUtf8(page, encoding), true);
}

bool QueryMatcher::MatchesFolded(std::string_view page, bool utf8) {
  const std::string& pattern = utf8 ? utf8Pattern_ : *windows1252Pattern_;
  // Each chunk is compared together with the end of the one before, as far as a match could
  // reach back into it.
  folded_.clear();
  for (size_t at = 0; at < page.size();) {
    size_t end = std::min(page.size(), at + kChunk);
    if (utf8) end = CharBoundary(page, at, end);
    const size_t carry = std::min(folded_.size(), pattern.size() - 1);
    folded_.erase(0, folded_.size() - carry);
    if (utf8) {
      AppendFoldedUtf8(page.substr(at, end - at), folded_);
    } else {
      AppendTableFolded(page.substr(at, end - at), folded_);
    }
    if (folded_.find(pattern) != std::string::npos) return true;
    at = end;
  }
  return false;
}

}  // namespace ebook
