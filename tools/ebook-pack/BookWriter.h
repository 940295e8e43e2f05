#pragma once
// Writes a book's entries in one pass: every core deflates entries ahead of the writer, which
// hands them on strictly in book order. Only a few entries wait in memory at a time, so a
// folder of any size is packed without holding it whole.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ebook {

class Progress;

// One entry to be written: its content in memory, or the file it is read from when written.
struct PackEntry {
  std::string name;
  std::string content;         // used when `file` is empty
  std::filesystem::path file;  // read when the entry is deflated
  uintmax_t size = 0;          // the content's size, for progress
};

inline constexpr int kDefaultLevel = 6;  // zlib's default

// Deflates each entry at `level` (0-9) and hands every encoded archive entry to `sink`, in the
// order of `entries`. A file that cannot be read throws PackError; nothing after it is handed on.
void WriteEntries(const std::vector<PackEntry>& entries, int level,
                  const std::function<void(std::string_view)>& sink, Progress* progress);

// The content of an entry: `content`, or its file read whole (throws PackError).
std::string EntryContent(const PackEntry& entry);

// Sorts like SortInBookOrder (archive/ArchiveWriter.h).
void SortPackEntries(std::vector<PackEntry>& entries);

}  // namespace ebook
