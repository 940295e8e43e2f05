#include "archive/ZLib.h"

#include "archive/MemoryBudget.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>
#include <vector>

namespace ebook {
namespace {

[[noreturn]] void Fail(int result) { throw EZDecompressionError(zError(result)); }

// zlib counts in uInt; feed it at most this much per call so that inputs and outputs beyond
// 4 GiB still work.
constexpr size_t kMaxChunk = std::numeric_limits<uInt>::max();

// Output beyond the first guess is gathered in chunks of this size and joined at the end.
constexpr size_t kChunkSize = size_t{1} << 20;
// While chunks pile up, the memory the system still has is checked this often.
constexpr size_t kMemoryCheckInterval = size_t{16} << 20;

class Inflater {
 public:
  Inflater() {
    const int result = inflateInit(&zs_);
    if (result < 0) Fail(result);
  }
  ~Inflater() {
    if (!ended_) inflateEnd(&zs_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  // Inflates into `out` from `offset` on, until it is full or the stream ends; true at the end.
  bool Into(std::string_view input, size_t& inPos, std::string& out, size_t& produced) {
    while (produced < out.size()) {
      zs_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data() + inPos));
      zs_.avail_in = static_cast<uInt>(std::min(input.size() - inPos, kMaxChunk));
      zs_.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
      zs_.avail_out = static_cast<uInt>(std::min(out.size() - produced, kMaxChunk));
      const uInt inBefore = zs_.avail_in;
      const uInt outBefore = zs_.avail_out;
      int result = inflate(&zs_, Z_NO_FLUSH);
      inPos += inBefore - zs_.avail_in;
      produced += outBefore - zs_.avail_out;
      if (result == Z_STREAM_END) return true;
      // A stream that needs a preset dictionary can never be completed here: zlib would
      // answer "need dictionary" forever, so it fails as the stream error it amounts to.
      if (result == Z_NEED_DICT) result = Z_STREAM_ERROR;
      if (result < 0) Fail(result);
    }
    return false;
  }

  void End() {
    ended_ = true;
    const int result = inflateEnd(&zs_);
    if (result < 0) Fail(result);
  }

 private:
  z_stream zs_{};
  bool ended_ = false;
};

}  // namespace

std::string DecompressBytes(std::string_view input) {
  try {
    Inflater inflater;
    size_t inPos = 0;
    // Pages compress about three to one: most entries fit the first guess and are inflated in
    // place. Larger output goes into chunks, each filled completely before the next is taken,
    // and is joined at the end into a string reserved (not yet touched) at its exact size while
    // the chunks are released one by one: memory in use stays near the output's own size.
    std::string out(std::clamp<size_t>(input.size() * 4, 256, kChunkSize), '\0');
    size_t produced = 0;
    if (inflater.Into(input, inPos, out, produced)) {
      inflater.End();
      out.resize(produced);
      return out;
    }
    std::vector<std::string> chunks;
    chunks.push_back(std::move(out));
    size_t total = produced;
    size_t sinceCheck = 0;
    for (bool done = false; !done;) {
      std::string chunk(kChunkSize, '\0');
      size_t filled = 0;
      done = inflater.Into(input, inPos, chunk, filled);
      chunk.resize(filled);
      total += filled;
      sinceCheck += filled;
      chunks.push_back(std::move(chunk));
      if (sinceCheck >= kMemoryCheckInterval) {
        EnsureMemoryFor(0);
        sinceCheck = 0;
      }
    }
    inflater.End();
    std::string joined;
    joined.reserve(total);
    for (std::string& chunk : chunks) {
      joined += chunk;
      std::string().swap(chunk);
    }
    return joined;
  } catch (const std::bad_alloc&) {
    Fail(Z_MEM_ERROR);
  } catch (const std::length_error&) {
    Fail(Z_MEM_ERROR);
  }
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
