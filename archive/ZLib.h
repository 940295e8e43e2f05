#pragma once
// Inflation of archive entries. Every entry's data is one complete zlib stream (RFC 1950); its
// inflated length is stored nowhere, so the output grows as inflate asks for room.

#include <stdexcept>
#include <string>
#include <string_view>

namespace ebook {

// Base of every zlib failure; the message is zlib's own short text ("data error", ...).
class EZLibError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class EZDecompressionError : public EZLibError {
 public:
  using EZLibError::EZLibError;
};

// Inflates one complete zlib stream. Bytes after the end of the stream are ignored.
// Throws EZDecompressionError with zlib's message for any failure; running out of memory
// is "insufficient memory", never the end of the process (see archive/MemoryBudget.h).
std::string DecompressBytes(std::string_view input);

// Deflates at zlib's default level (header 78 9C). Used only by the book writer.
std::string CompressBytes(std::string_view input);

}  // namespace ebook
