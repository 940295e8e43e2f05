#include "archive/RuntimeFrame.h"

#include <cstdint>

namespace ebook {

std::optional<RuntimeFrame> ReadRuntimeFrame(std::string_view image) {
  if (image.size() < RuntimeFrame::kHeaderSize || !image.starts_with(RuntimeFrame::kMagic))
    return std::nullopt;
  uint64_t size = 0;  // little-endian, at offset 8
  for (int i = 15; i >= 8; --i) size = (size << 8) | static_cast<uint8_t>(image[i]);
  if (size > image.size() - RuntimeFrame::kHeaderSize) return std::nullopt;
  RuntimeFrame frame;
  frame.id = image.substr(16, 64);
  frame.manifestCheck = image.substr(80, 8);
  frame.payload = image.substr(RuntimeFrame::kHeaderSize, static_cast<size_t>(size));
  return frame;
}

}  // namespace ebook
