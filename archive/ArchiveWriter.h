#pragma once
// Writes book archives: the book tool builds books with it and the tests build their fixtures
// with it. The viewer itself never writes an archive.

#include <string>
#include <string_view>
#include <vector>

namespace ebook {

struct BookEntry {
  std::string name;     // path relative to the book's top folder, "/" between folders
  std::string content;  // uncompressed
};

// One archive entry: start marker, upper-cased name, 0xB6, the content deflated at zlib's
// default level, end marker, the name again. Throws std::invalid_argument for a name holding
// the byte 0xB6, which could never be read back.
std::string EncodeEntry(std::string_view name, std::string_view content);
// The same with data already compressed (or deliberately broken, in tests).
std::string EncodeRawEntry(std::string_view storedName, std::string_view data);

// Sorts into the order books are written in: XSEI.QRLC, XSE1.QRLC, XSE0.QRLC, the other
// internal entries, the files in sub-folders, then the files of the top folder; within each
// group by name compared in lower case. A name that begins with another entry's whole name
// therefore always comes after it, which the reader relies on.
void SortInBookOrder(std::vector<BookEntry>& entries);

// The archive bytes of `entries`, in the order given.
std::string EncodeArchive(const std::vector<BookEntry>& entries);

}  // namespace ebook
