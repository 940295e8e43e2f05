#include "search/PageInflater.h"

#include <zlib.h>
#ifdef EBOOK_HAVE_LIBDEFLATE
#include <libdeflate.h>
#endif

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "archive/MemoryBudget.h"
#include "archive/ZLib.h"

namespace ebook {

#ifdef EBOOK_HAVE_LIBDEFLATE

// libdeflate inflates whole buffers about twice as fast as zlib; it needs room for all of the
// output up front, so a page that does not fit is inflated again into a bigger buffer.
struct PageInflater::Stream {
  libdeflate_decompressor* decompressor = nullptr;
};

PageInflater::PageInflater() : stream_(std::make_unique<Stream>()) {}

PageInflater::~PageInflater() {
  if (stream_->decompressor) libdeflate_free_decompressor(stream_->decompressor);
}

bool PageInflater::TryInflate(std::string_view stored, size_t& produced) {
  if (!stream_->decompressor) stream_->decompressor = libdeflate_alloc_decompressor();
  if (!stream_->decompressor) return false;
  Grow(stored.size() * 4, false);
  for (;;) {
    size_t consumed = 0;
    const libdeflate_result result = libdeflate_zlib_decompress_ex(
        stream_->decompressor, stored.data(), stored.size(), buffer_.get(), capacity_,
        &consumed, &produced);
    if (result == LIBDEFLATE_SUCCESS) return true;
    if (result != LIBDEFLATE_INSUFFICIENT_SPACE) return false;
    // libdeflate starts again from the first byte: the old buffer's content is not needed,
    // and it is given back before the bigger one is taken.
    Grow(capacity_ * 2, false);
  }
}

#else

namespace {

// zlib counts in uInt; larger entries go through in pieces.
constexpr size_t kMaxChunk = std::numeric_limits<uInt>::max();

}  // namespace

struct PageInflater::Stream {
  z_stream zs{};
  bool ready = false;
};

PageInflater::PageInflater() : stream_(std::make_unique<Stream>()) {}

PageInflater::~PageInflater() {
  if (stream_->ready) inflateEnd(&stream_->zs);
}

// One inflate state, reset for every entry.
bool PageInflater::TryInflate(std::string_view stored, size_t& produced) {
  z_stream& zs = stream_->zs;
  if (!stream_->ready) {
    if (inflateInit(&zs) != Z_OK) return false;
    stream_->ready = true;
  } else if (inflateReset(&zs) != Z_OK) {
    return false;
  }
  Grow(0, true);
  size_t inPos = 0;
  produced = 0;
  for (;;) {
    if (produced == capacity_) Grow(capacity_ * 2, true);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stored.data() + inPos));
    zs.avail_in = static_cast<uInt>(std::min(stored.size() - inPos, kMaxChunk));
    zs.next_out = reinterpret_cast<Bytef*>(buffer_.get() + produced);
    zs.avail_out = static_cast<uInt>(std::min(capacity_ - produced, kMaxChunk));
    const uInt inBefore = zs.avail_in;
    const uInt outBefore = zs.avail_out;
    const int result = inflate(&zs, Z_NO_FLUSH);
    inPos += inBefore - zs.avail_in;
    produced += outBefore - zs.avail_out;
    if (result == Z_STREAM_END) return true;
    if (result != Z_OK && result != Z_BUF_ERROR) return false;
    // No progress with room left means the input ran out before the stream ended.
    if (result == Z_BUF_ERROR && produced < capacity_) return false;
  }
}

#endif

// Buffers up to this size are taken without asking how much memory is left.
constexpr size_t kUncheckedCapacity = size_t{16} << 20;

// Grows the buffer to at least `atLeast` bytes (and at least 64 KiB), keeping its content when
// asked to.
void PageInflater::Grow(size_t atLeast, bool keep) {
  if (capacity_ >= atLeast && capacity_ != 0) return;
  size_t capacity = std::max<size_t>(capacity_, 64 * 1024);
  while (capacity < atLeast) capacity *= 2;
  if (capacity == capacity_) return;
  // Linux grants a buffer it cannot back and ends the process when it is filled, so a page
  // that inflates past the memory left must fail here, as running out of memory.
  if (!keep) {
    buffer_.reset();
    capacity_ = 0;
  }
  if (capacity > kUncheckedCapacity) EnsureMemoryFor(capacity);
  auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
  if (capacity_ != 0) memcpy(bigger.get(), buffer_.get(), capacity_);
  buffer_ = std::move(bigger);
  capacity_ = capacity;
}

// Any failure of the fast path is left to DecompressBytes, the reader every other part of the
// viewer uses, so that the error and its message are always the reader's own.
std::string_view PageInflater::Inflate(std::string_view stored) {
  std::string().swap(spilled_);
  size_t produced = 0;
  try {
    if (TryInflate(stored, produced)) return {buffer_.get(), produced};
  } catch (const std::bad_alloc&) {
    // The reader reports running out of memory in its own words, with this buffer given back.
    buffer_.reset();
    capacity_ = 0;
  }
  // Normally this throws the reader's error for the entry. Should the reader succeed where the
  // fast path gave up, its content counts, kept as it came rather than copied. A large buffer
  // goes back first: the reader needs the memory.
  if (capacity_ > kUncheckedCapacity) {
    buffer_.reset();
    capacity_ = 0;
  }
  spilled_ = DecompressBytes(stored);
  return spilled_;
}

}  // namespace ebook
