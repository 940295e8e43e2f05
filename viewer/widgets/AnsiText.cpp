#include "viewer/widgets/AnsiText.h"

#include <array>

#include "text/BookText.h"

namespace ebook {

namespace {

// Windows-1252 bytes 0x80-0x9F; the five undefined bytes map to the C1 controls, as
// Windows itself maps them. All other bytes are their Latin-1 code points.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString FromAnsi(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text += (byte >= 0x80 && byte <= 0x9F) ? QChar(kHighControls[byte - 0x80]) : QChar(byte);
  }
  return text;
}

std::string ToAnsi(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (const QChar c : text) {
    const char16_t code = c.unicode();
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
      bytes += static_cast<char>(code);
      continue;
    }
    char mapped = '?';
    for (size_t i = 0; i < kHighControls.size(); ++i) {
      if (kHighControls[i] == code) mapped = static_cast<char>(0x80 + i);
    }
    bytes += mapped;
  }
  return bytes;
}

QString FromBookText(std::string_view bytes) {
  return QString::fromStdString(DecodeBookText(bytes));
}

std::string ToBookText(const QString& text) { return EncodeBookText(text.toStdString()); }

}  // namespace ebook
