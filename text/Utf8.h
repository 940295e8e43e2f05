#pragma once
// UTF-8 as RFC 3629 defines it: at most four bytes a character, no overlong forms, no
// surrogates, nothing above U+10FFFF.

#include <cstddef>
#include <string>
#include <string_view>

namespace ebook {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsValidUtf8(std::string_view bytes);

// True when some byte is 0x80 or above.
bool HasNonAscii(std::string_view bytes);

// The character at `at` and its length in bytes. A byte that does not begin a valid sequence
// reads as itself (a code point 0x80-0xFF) with length 1, so that any byte string can be walked.
struct Utf8Char {
  char32_t code;
  size_t length;
  bool valid;
};
Utf8Char ReadUtf8(std::string_view bytes, size_t at);

void AppendUtf8(std::string& out, char32_t code);

}  // namespace ebook
