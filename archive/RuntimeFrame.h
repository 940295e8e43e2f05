#pragma once
// The frame a portable book's packed runtime travels in, between the launcher and the archive.
// The launcher unpacks it (launcher/RuntimeCache.h); the archive's layout steps over it.

#include <cstddef>
#include <optional>
#include <string_view>

namespace ebook {

// A portable book's packed runtime, between the launcher and the archive:
//   magic     8 bytes   "QRLRUNT1"
//   size      8 bytes   little-endian, the bytes after this 96-byte header
//   id       64 bytes   the runtime's name: a hash of its content, in lower-case hex
//   manifest  8 bytes   the check value (CRC-32, lower-case hex) of the runtime's manifest
//   reserved  8 bytes   zero
//   then `size` bytes: the runtime folder as a tar stream, compressed with zstd.
struct RuntimeFrame {
  static constexpr std::string_view kMagic = "QRLRUNT1";
  static constexpr size_t kHeaderSize = 96;
  std::string_view id;
  std::string_view manifestCheck;
  std::string_view payload;  // the zstd stream
  size_t size() const { return kHeaderSize + payload.size(); }
};

// The frame that begins at the first byte of `image`; nullopt when none does or its size runs
// past the end of `image`.
std::optional<RuntimeFrame> ReadRuntimeFrame(std::string_view image);

}  // namespace ebook
