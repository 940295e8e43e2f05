#include "archive/ArchiveWriter.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <tuple>

#include "archive/ArchiveIndex.h"
#include "archive/BookImage.h"
#include "archive/ZLib.h"
#include "text/Ascii.h"
#include "archive/InternalEntries.h"

namespace ebook {
namespace {

// Group of an entry in book order, then its rank inside the group.
std::tuple<int, int, std::string> BookOrderKey(const BookEntry& entry) {
  static constexpr std::array<std::string_view, 3> kLeading = {
      kSplashMarkerEntry, kSettingsEntry, kSplashPictureEntry};
  const std::string upper = UpperAscii(entry.name);
  for (size_t i = 0; i < kLeading.size(); ++i)
    if (upper == kLeading[i]) return {0, static_cast<int>(i), {}};
  if (IsInternalEntry(upper)) return {1, 0, LowerAscii(entry.name)};
  const bool inFolder = entry.name.find('/') != std::string::npos;
  return {inFolder ? 2 : 3, 0, LowerAscii(entry.name)};
}

}  // namespace

std::string EncodeRawEntry(std::string_view storedName, std::string_view data) {
  std::string bytes;
  bytes.reserve(2 * storedName.size() + data.size() + 9);
  bytes.append(kEntryStartMarker).append(storedName);
  bytes.push_back(kNameSeparator);
  bytes.append(data).append(kEntryEndMarker).append(storedName);
  return bytes;
}

std::string EncodeEntry(std::string_view name, std::string_view content) {
  if (name.find(kNameSeparator) != std::string_view::npos)
    throw std::invalid_argument("the name holds the byte 0xB6, which cannot be stored");
  return EncodeRawEntry(UpperAscii(name), CompressBytes(content));
}

void SortInBookOrder(std::vector<BookEntry>& entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const BookEntry& a, const BookEntry& b) {
    return BookOrderKey(a) < BookOrderKey(b);
  });
}

std::string EncodeArchive(const std::vector<BookEntry>& entries) {
  std::string archive;
  for (const BookEntry& entry : entries) archive += EncodeEntry(entry.name, entry.content);
  return archive;
}

}  // namespace ebook
