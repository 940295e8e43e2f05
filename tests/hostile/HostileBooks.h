#pragma once
// Damaged and malicious books, built from scratch: each is what a truncated download, a broken
// copy or a hostile author could hand a reader. The tests open every one of them with the real
// viewer and the real book tool.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace ebook::testing {

struct HostileBook {
  std::string name;     // short, for file names and the report
  std::string damage;   // what is wrong with it, in words
  bool tempFolder = false;
  // Entries the tool is asked to `cat` (beside list, settings, toc, check and search).
  std::vector<std::string> catEntries;
  // Writes the archive (without the viewer program in front of it).
  std::function<void(std::ostream&)> write;
  // Needs the viewer confined to a small memory limit (it inflates past any real memory).
  bool needsMemoryLimit = false;
};

// Bytes of output the memory bomb inflates to, as a multiple of the confinement limit.
inline constexpr int kBombFactor = 100;

// Every hostile book. `memoryLimit` sizes the bomb (kBombFactor times it); `outsidePath` is an
// absolute path no entry may ever be written to (a name in a book points at it).
std::vector<HostileBook> HostileBooks(size_t memoryLimit, const std::string& outsidePath);

// A settings entry from lines joined with CR LF.
std::string SettingsText(const std::vector<std::string>& lines);

// A zlib stream that inflates to `size` zero bytes (rounded up to whole 16 MiB, at least 32),
// written without ever holding more than a few MiB.
void WriteZeroBomb(std::ostream& out, size_t size);

}  // namespace ebook::testing
