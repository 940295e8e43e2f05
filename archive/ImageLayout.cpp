#include "archive/ImageLayout.h"

#include "archive/RuntimeFrame.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace ebook {
namespace {

// Little- or big-endian unsigned read of `width` bytes at `offset`; nullopt past the end.
std::optional<uint64_t> ReadUnsigned(std::string_view image, uint64_t offset, int width,
                                     bool bigEndian) {
  if (offset > image.size() || image.size() - offset < static_cast<uint64_t>(width))
    return std::nullopt;
  uint64_t value = 0;
  for (int i = 0; i < width; ++i) {
    const auto byte = static_cast<uint8_t>(image[offset + (bigEndian ? i : width - 1 - i)]);
    value = (value << 8) | byte;
  }
  return value;
}

class Reader {
 public:
  Reader(std::string_view image, bool bigEndian) : image_(image), bigEndian_(bigEndian) {}
  // Missing bytes read as 0; callers check `ok()` once at the end of a header.
  uint64_t operator()(uint64_t offset, int width) {
    auto value = ReadUnsigned(image_, offset, width, bigEndian_);
    if (!value) ok_ = false;
    return value.value_or(0);
  }
  bool ok() const { return ok_; }

 private:
  std::string_view image_;
  bool bigEndian_;
  bool ok_ = true;
};

// End of the program described by an ELF header, or nullopt when the header is unusable.
std::optional<uint64_t> ElfEnd(std::string_view image) {
  if (image.size() < 52 || image.substr(0, 4) != "\x7f" "ELF") return std::nullopt;
  const bool is64 = image[4] == 2;
  const bool bigEndian = image[5] == 2;
  if ((image[4] != 1 && !is64) || (image[5] != 1 && !bigEndian)) return std::nullopt;
  Reader read(image, bigEndian);
  const int word = is64 ? 8 : 4;
  const uint64_t phoff = read(is64 ? 32 : 28, word);
  const uint64_t shoff = read(is64 ? 40 : 32, word);
  const uint64_t ehsize = read(is64 ? 52 : 40, 2);
  const uint64_t phentsize = read(is64 ? 54 : 42, 2);
  const uint64_t phnum = read(is64 ? 56 : 44, 2);
  const uint64_t shentsize = read(is64 ? 58 : 46, 2);
  const uint64_t shnum = read(is64 ? 60 : 48, 2);
  if (!read.ok()) return std::nullopt;

  uint64_t end = ehsize;
  // Offsets and sizes come from the file: every sum is checked against the image before use.
  auto extend = [&](uint64_t offset, uint64_t size) {
    if (offset <= image.size() && size <= image.size() - offset) end = std::max(end, offset + size);
  };
  extend(phoff, phentsize * phnum);
  extend(shoff, shentsize * shnum);
  for (uint64_t i = 0; i < phnum && phentsize > 0; ++i) {
    const uint64_t at = phoff + i * phentsize;
    const uint64_t offset = read(at + (is64 ? 8 : 4), word);
    const uint64_t filesz = read(at + (is64 ? 32 : 16), word);
    if (!read.ok()) break;
    extend(offset, filesz);
  }
  constexpr uint64_t kShtNobits = 8;
  for (uint64_t i = 0; i < shnum && shentsize > 0; ++i) {
    const uint64_t at = shoff + i * shentsize;
    const uint64_t type = read(at + 4, 4);
    const uint64_t offset = read(at + (is64 ? 24 : 16), word);
    const uint64_t size = read(at + (is64 ? 32 : 20), word);
    if (!read.ok()) break;
    if (type != kShtNobits) extend(offset, size);
  }
  return end;
}

// End of the program described by a PE header, or nullopt when the header is unusable.
std::optional<uint64_t> PeEnd(std::string_view image) {
  if (image.size() < 64 || image.substr(0, 2) != "MZ") return std::nullopt;
  Reader read(image, false);
  const uint64_t pe = read(0x3C, 4);
  if (!read.ok() || pe > image.size() || image.size() - pe < 24 ||
      image.substr(pe, 4) != std::string_view("PE\0\0", 4))
    return std::nullopt;
  const uint64_t sections = read(pe + 6, 2);
  const uint64_t optionalSize = read(pe + 20, 2);
  const uint64_t optional = pe + 24;
  const uint64_t magic = read(optional, 2);
  const uint64_t headersSize = read(optional + 60, 4);
  if (!read.ok()) return std::nullopt;

  uint64_t end = std::min<uint64_t>(headersSize, image.size());
  auto extend = [&](uint64_t offset, uint64_t size) {
    if (offset <= image.size() && size <= image.size() - offset) end = std::max(end, offset + size);
  };
  // The certificate table is the one data directory that holds a file offset.
  const uint64_t directories = optional + (magic == 0x20B ? 112 : 96);
  constexpr uint64_t kSecurityDirectory = 4;
  if ((directories - optional) + (kSecurityDirectory + 1) * 8 <= optionalSize) {
    const uint64_t at = directories + kSecurityDirectory * 8;
    const uint64_t offset = read(at, 4);
    const uint64_t size = read(at + 4, 4);
    if (read.ok()) extend(offset, size);
  }
  const uint64_t table = optional + optionalSize;
  for (uint64_t i = 0; i < sections; ++i) {
    const uint64_t at = table + i * 40;
    const uint64_t rawSize = read(at + 16, 4);
    const uint64_t rawOffset = read(at + 20, 4);
    if (!read.ok()) break;
    extend(rawOffset, rawSize);
  }
  return end;
}

}  // namespace

std::optional<size_t> ProgramImageSize(std::string_view image) {
  std::optional<uint64_t> end = ElfEnd(image);
  if (!end) end = PeEnd(image);
  if (!end) return std::nullopt;
  return static_cast<size_t>(std::min<uint64_t>(*end, image.size()));
}

size_t ArchiveStartOffset(std::string_view image) {
  std::optional<size_t> end = ProgramImageSize(image);
  if (!end) return 0;
  // The launcher's followers: the viewer program, or the runtime frame of a portable book.
  // Each part is at least its header long, so the walk always moves on.
  while (*end < image.size()) {
    const std::string_view rest = image.substr(*end);
    if (const auto program = ProgramImageSize(rest); program && *program > 0) {
      *end += *program;
    } else if (const auto frame = ReadRuntimeFrame(rest)) {
      *end += frame->size();
    } else {
      break;
    }
  }
  return *end;
}

}  // namespace ebook
