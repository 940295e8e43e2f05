#pragma once
// The book archive appended to the viewer program, and an index over it built in one pass.
//
// The archive has no header, directory or trailer. Entries follow one another with no gap:
//
//   "#1!#"  name  0xB6  zlib stream  "!2!#"  name
//
// The name is the member's path relative to the book's top folder ("PICS/COVER.JPG"), stored
// with ASCII letters upper-cased, never containing 0xB6; it carries no length, so the data ends
// where "!2!#" followed by the same name first occurs after the data's start. Internal entries
// end in ".QRLC".
//
// The index walks the archive from its first byte: after an intact entry it goes on right after
// the entry's second name, so marker bytes inside compressed data never count as entries. An
// entry whose end marker is missing is still indexed (with empty data, which fails to inflate),
// and the walk then looks for the next start marker after the damaged one.

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ebook {

inline constexpr std::string_view kEntryStartMarker = "#1!#";
inline constexpr std::string_view kEntryEndMarker = "!2!#";
inline constexpr char kNameSeparator = '\xB6';

struct IndexedEntry {
  size_t start = 0;      // offset of the start marker
  std::string_view name; // the stored name, exactly as stored
  size_t dataBegin = 0;  // first byte after the separator
  size_t dataEnd = 0;    // the end marker's offset; == dataBegin when it is missing
  bool intact = false;   // the end marker was found
};

class ArchiveIndex {
 public:
  ArchiveIndex() = default;
  // `image` must outlive the index: names are views into it.
  ArchiveIndex(std::string_view image, size_t archiveStart);

  // All entries in archive order, damaged ones included.
  const std::vector<IndexedEntry>& entries() const { return entries_; }

  // The first entry stored under exactly `storedName`, or nullptr.
  const IndexedEntry* Find(std::string_view storedName) const;

 private:
  size_t FindEnd(std::string_view image, std::string_view name, size_t from);

  std::vector<IndexedEntry> entries_;
  std::unordered_map<std::string_view, size_t> firstByName_;
  size_t failedSearchBudget_ = 0;
};

}  // namespace ebook
