#include "viewer/widgets/AnsiText.h"

#include "text/BookText.h"
#include "text/Windows1252.h"

namespace ebook {

QString FromAnsi(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  // Every Windows-1252 character lies in the Basic Multilingual Plane: one UTF-16 unit each.
  for (const char c : bytes)
    text += QChar(static_cast<char16_t>(Windows1252Char(static_cast<unsigned char>(c))));
  return text;
}

std::string ToAnsi(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  // A surrogate half has no byte, so a character outside the Basic Multilingual Plane
  // becomes "??", one per UTF-16 unit.
  for (const QChar c : text) {
    const std::optional<unsigned char> byte = Windows1252Byte(c.unicode());
    bytes += byte ? static_cast<char>(*byte) : '?';
  }
  return bytes;
}

QString FromBookText(std::string_view bytes) {
  return QString::fromStdString(DecodeBookText(bytes));
}

std::string ToBookText(const QString& text) { return EncodeBookText(text.toStdString()); }

}  // namespace ebook
