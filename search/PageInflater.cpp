#include "search/PageInflater.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "archive/ZLib.h"

namespace ebook {
namespace {

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

void PageInflater::Grow(size_t atLeast) {
  size_t capacity = std::max<size_t>(capacity_, 64 * 1024);
  while (capacity < atLeast) capacity *= 2;
  auto bigger = std::make_unique<char[]>(capacity);
  if (capacity_ != 0) memcpy(bigger.get(), buffer_.get(), capacity_);
  buffer_ = std::move(bigger);
  capacity_ = capacity;
}

// The fast path: one inflate state reset for every entry. Any failure is left to
// DecompressBytes, the reader every other part of the viewer uses, so that the error and its
// message are always the reader's own.
bool PageInflater::TryInflate(std::string_view stored, size_t& produced) {
  z_stream& zs = stream_->zs;
  if (!stream_->ready) {
    if (inflateInit(&zs) != Z_OK) return false;
    stream_->ready = true;
  } else if (inflateReset(&zs) != Z_OK) {
    return false;
  }
  if (capacity_ == 0) Grow(0);
  size_t inPos = 0;
  produced = 0;
  for (;;) {
    if (produced == capacity_) Grow(capacity_ * 2);
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

std::string_view PageInflater::Inflate(std::string_view stored) {
  size_t produced = 0;
  if (TryInflate(stored, produced)) return {buffer_.get(), produced};
  // Normally this throws the reader's error for the entry. Should the reader succeed where the
  // fast path gave up, its content counts.
  const std::string content = DecompressBytes(stored);
  if (content.size() > capacity_) Grow(content.size());
  memcpy(buffer_.get(), content.data(), content.size());
  return {buffer_.get(), content.size()};
}

}  // namespace ebook
