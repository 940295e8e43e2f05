#include "text/BookText.h"

#include <optional>

#include "text/Utf8.h"
#include "text/Windows1252.h"

namespace ebook {
namespace {
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
}

TextEncoding BookTextEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return TextEncoding::kUtf8;
  return HasNonAscii(bytes) && IsValidUtf8(bytes) ? TextEncoding::kUtf8
                                                  : TextEncoding::kWindows1252;
}

std::string DecodeText(std::string_view bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::kWindows1252) return Windows1252ToUtf8(bytes);
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  if (IsValidUtf8(bytes)) return std::string(bytes);
  // Declared UTF-8 with stray bytes: each one becomes U+FFFD, as a browser shows it.
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const Utf8Char c = ReadUtf8(bytes, i);
    AppendUtf8(out, c.valid ? c.code : kReplacementCharacter);
    i += c.length;
  }
  return out;
}

std::string DecodeBookText(std::string_view bytes) {
  return DecodeText(bytes, BookTextEncoding(bytes));
}

std::string EncodeBookText(std::string_view utf8) {
  const std::optional<std::string> legacy = Utf8ToWindows1252(utf8);
  if (legacy && BookTextEncoding(*legacy) == TextEncoding::kWindows1252) return *legacy;
  // A text that itself begins with U+FEFF keeps it behind a byte-order mark of its own, since
  // decoding drops one.
  if (utf8.starts_with(kUtf8Bom)) return std::string(kUtf8Bom) + std::string(utf8);
  return std::string(utf8);
}

}  // namespace ebook
