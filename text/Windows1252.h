#pragma once
// Windows-1252, the 8-bit code page books were written in before UTF-8. Bytes 0x80-0x9F hold
// typographic characters; the five bytes Windows leaves undefined stand for the C1 controls of
// the same value, as Windows itself maps them, so that every byte has a character and back.

#include <optional>
#include <string>
#include <string_view>

namespace ebook {

char32_t Windows1252Char(unsigned char byte);
// The byte for `code`, or nullopt when Windows-1252 has none.
std::optional<unsigned char> Windows1252Byte(char32_t code);

std::string Windows1252ToUtf8(std::string_view bytes);
// nullopt when a character has no Windows-1252 byte (or `utf8` is not valid UTF-8).
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

}  // namespace ebook
