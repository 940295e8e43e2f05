#pragma once
// Where the book archive begins inside an executable file.
//
// The viewer program comes first and the archive follows it. The program's own extent is taken
// from its headers, so no byte run inside the program's code or data can ever be mistaken for
// an archive entry:
//   ELF: the furthest end of the section header table, of every section with file contents and
//        of every segment's file image;
//   PE:  the furthest end of the headers, of every section's raw data and of the certificate
//        table.
// A file with neither header is a bare archive that begins at its first byte.

#include <cstddef>
#include <string_view>

namespace ebook {

// Offset of the first archive byte in `image`; never more than image.size().
size_t ArchiveStartOffset(std::string_view image);

}  // namespace ebook
