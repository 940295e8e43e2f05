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
//
// A book file as ebook-pack builds it holds more than one program before the archive: the
// launcher first, then either the viewer program (another ELF image) or, in a portable book,
// the packed runtime in a frame of its own (archive/RuntimeFrame.h). Each is skipped in turn.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ebook {

// Offset of the first archive byte in `image`; never more than image.size().
size_t ArchiveStartOffset(std::string_view image);

// The extent of the one ELF or PE program that begins at the first byte of `image`, taken
// from its headers; nullopt when no program begins there.
std::optional<size_t> ProgramImageSize(std::string_view image);

}  // namespace ebook
