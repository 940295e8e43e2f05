#include "archive/ZLib.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>

namespace ebook {
namespace {

[[noreturn]] void Fail(int result) { throw EZDecompressionError(zError(result)); }

// zlib counts in uInt; feed it at most this much per call so that inputs and outputs beyond
// 4 GiB still work.
constexpr size_t kMaxChunk = std::numeric_limits<uInt>::max();

}  // namespace

std::string DecompressBytes(std::string_view input) {
  z_stream zs{};
  int result = inflateInit(&zs);
  if (result < 0) Fail(result);

  std::string out;
  try {
    // Pages compress about three to one; start near the likely size and double, so that a
    // highly compressed entry costs a few reallocations rather than one per input length.
    size_t capacity = std::max<size_t>(256, std::min<size_t>(input.size(), 1 << 26) * 4);
    out.resize(capacity);
    size_t inPos = 0;
    size_t produced = 0;
    for (;;) {
      if (produced == out.size()) out.resize(out.size() * 2);
      zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data() + inPos));
      zs.avail_in = static_cast<uInt>(std::min(input.size() - inPos, kMaxChunk));
      zs.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
      zs.avail_out = static_cast<uInt>(std::min(out.size() - produced, kMaxChunk));
      const uInt inBefore = zs.avail_in;
      const uInt outBefore = zs.avail_out;
      result = inflate(&zs, Z_NO_FLUSH);
      inPos += inBefore - zs.avail_in;
      produced += outBefore - zs.avail_out;
      if (result == Z_STREAM_END) break;
      // A stream that needs a preset dictionary can never be completed here: zlib would
      // answer "need dictionary" forever, so it fails as the stream error it amounts to.
      if (result == Z_NEED_DICT) result = Z_STREAM_ERROR;
      if (result < 0) {
        inflateEnd(&zs);
        Fail(result);
      }
    }
    out.resize(produced);
  } catch (const std::bad_alloc&) {
    inflateEnd(&zs);
    Fail(Z_MEM_ERROR);
  } catch (const std::length_error&) {
    inflateEnd(&zs);
    Fail(Z_MEM_ERROR);
  }
  result = inflateEnd(&zs);
  if (result < 0) Fail(result);
  return out;
}

std::string CompressBytes(std::string_view input) {
  uLongf size = compressBound(static_cast<uLong>(input.size()));
  std::string out(size, '\0');
  int result = compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                         reinterpret_cast<const Bytef*>(input.data()),
                         static_cast<uLong>(input.size()), Z_DEFAULT_COMPRESSION);
  if (result != Z_OK) throw EZLibError(zError(result));
  out.resize(size);
  return out;
}

}  // namespace ebook
