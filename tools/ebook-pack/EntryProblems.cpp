#include "EntryProblems.h"

#include <algorithm>
#include <cstdint>

#include "settings/Colors.h"
#include "settings/IniText.h"

namespace ebook {
namespace {

constexpr size_t kMaxNamePart = 255;        // bytes of one file name part
constexpr size_t kMaxExtractedName = 4000;  // bytes of a name below the temporary folder

std::string Quoted(std::string_view text) { return std::string("\"").append(text).append("\""); }

}  // namespace

std::string DiskName(std::string_view name) {
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

// What the viewer makes of a value it cannot read as the setting's type ("" when it can).
std::string ValueProblem(const SettingKey& setting, std::string_view value) {
  if (value.empty()) return {};
  switch (setting.type) {
    case SettingType::Integer:
    case SettingType::Boolean:
      if (ParseInteger(value)) return {};
      return std::string("is not a whole number; the viewer uses the default ")
          .append(Quoted(setting.defaultValue));
    case SettingType::Color:
      if (ColorFromString(value)) return {};
      return "is neither a colour name nor a number; the viewer keeps the system's colour";
    case SettingType::String:
      break;
  }
  return {};
}

uint32_t LittleEndian(std::string_view bytes, size_t at, size_t width) {
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i)
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return value;
}

// What keeps a Windows bitmap from loading ("" when nothing): a header cut short, no pixels,
// or an uncompressed picture claiming more pixel rows than the file holds.
std::string BitmapProblem(std::string_view bytes) {
  if (bytes.size() < 26) return "its header is cut short";
  const uint64_t pixelsAt = LittleEndian(bytes, 10, 4);
  const uint32_t infoSize = LittleEndian(bytes, 14, 4);
  int64_t width = 0, height = 0;
  uint32_t bits = 0, compression = 0;
  if (infoSize == 12) {  // the old OS/2 header: 16-bit sizes
    width = LittleEndian(bytes, 18, 2);
    height = LittleEndian(bytes, 20, 2);
    bits = LittleEndian(bytes, 24, 2);
  } else {
    if (infoSize < 40 || bytes.size() < 34) return "its header is cut short";
    width = static_cast<int32_t>(LittleEndian(bytes, 18, 4));
    height = static_cast<int32_t>(LittleEndian(bytes, 22, 4));
    bits = LittleEndian(bytes, 28, 2);
    compression = LittleEndian(bytes, 30, 4);
  }
  if (width <= 0 || height == 0) return "it claims a picture of no pixels";
  if (compression != 0 && compression != 3) return {};  // run-length coded: no fixed size
  const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  const uint64_t needed =
      pixelsAt + rowBytes * static_cast<uint64_t>(height < 0 ? -height : height);
  if (needed > bytes.size())
    return "it claims " + std::to_string(width) + " x " +
           std::to_string(height < 0 ? -height : height) + " pixels (" + std::to_string(needed) +
           " bytes) but holds " + std::to_string(bytes.size());
  return {};
}

bool ViewerCannotServe(std::string_view name) {
  return std::any_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
}

std::string UncreatableName(std::string_view name) {
  const std::string path = DiskName(name);
  if (path.ends_with('/')) return "the name ends in \"/\", so it names a folder, not a file";
  const size_t slash = path.rfind('/');
  const std::string_view last =
      std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
  if (last == ".") return "the name ends in \".\", which names a folder, not a file";
  if (path.size() > kMaxExtractedName)
    return "the name is " + std::to_string(path.size()) + " bytes long, too long for a file's path";
  for (size_t begin = 0; begin <= path.size();) {
    const size_t end = std::min(path.find('/', begin), path.size());
    if (end - begin > kMaxNamePart)
      return "a part of the name is " + std::to_string(end - begin) +
             " bytes long; a file or folder name holds at most 255";
    begin = end + 1;
  }
  return {};
}

}  // namespace ebook
