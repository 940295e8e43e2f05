#include "archive/ArchiveIndex.h"

#include <cstring>
#include <string>

namespace ebook {
namespace {

size_t Search(std::string_view haystack, std::string_view needle, size_t from) {
  if (from > haystack.size()) return std::string_view::npos;
  const void* hit =
      memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
  return hit ? static_cast<const char*>(hit) - haystack.data() : std::string_view::npos;
}

}  // namespace

ArchiveIndex::ArchiveIndex(std::string_view image, size_t archiveStart) {
  // Searches for end markers that come to nothing scan to the end of the image. A damaged or
  // hostile archive could hold millions of such starts, so their total cost is capped; past the
  // cap a start without an end found so far counts as damaged without further searching.
  failedSearchBudget_ = 16 * image.size() + (size_t{1} << 24);

  size_t pos = archiveStart;
  for (;;) {
    const size_t start = Search(image, kEntryStartMarker, pos);
    if (start == std::string_view::npos) break;
    const size_t nameBegin = start + kEntryStartMarker.size();
    const void* separator = memchr(image.data() + nameBegin, kNameSeparator, image.size() - nameBegin);
    if (!separator) break;  // a name that runs to the end of the image names nothing
    const size_t nameEnd = static_cast<const char*>(separator) - image.data();

    IndexedEntry entry;
    entry.start = start;
    entry.name = image.substr(nameBegin, nameEnd - nameBegin);
    entry.dataBegin = nameEnd + 1;
    const size_t end = FindEnd(image, entry.name, entry.dataBegin);
    entry.intact = end != std::string_view::npos;
    entry.dataEnd = entry.intact ? end : entry.dataBegin;

    firstByName_.try_emplace(entry.name, entries_.size());
    entries_.push_back(entry);
    pos = entry.intact ? end + kEntryEndMarker.size() + entry.name.size() : start + 1;
  }
}

size_t ArchiveIndex::FindEnd(std::string_view image, std::string_view name, size_t from) {
  if (failedSearchBudget_ == 0) return std::string_view::npos;
  std::string pattern(kEntryEndMarker);
  pattern.append(name);
  const size_t end = Search(image, pattern, from);
  if (end == std::string_view::npos) {
    const size_t scanned = image.size() - std::min(from, image.size());
    failedSearchBudget_ -= std::min(failedSearchBudget_, scanned);
  }
  return end;
}

const IndexedEntry* ArchiveIndex::Find(std::string_view storedName) const {
  auto it = firstByName_.find(storedName);
  return it == firstByName_.end() ? nullptr : &entries_[it->second];
}

}  // namespace ebook
