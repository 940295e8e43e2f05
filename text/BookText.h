#pragma once
// The book's own 8-bit texts (settings values, contents captions, page titles, entry names)
// carry no word about their encoding. Books made on Windows hold Windows-1252; books made from
// today's documentation hold UTF-8. The two are told apart the way a browser's detector would
// settle it for such short texts: bytes that begin with a UTF-8 byte-order mark, or that are
// valid UTF-8 and hold at least one byte 0x80 or above, are UTF-8 (Windows-1252 text with an
// accented letter is almost never valid UTF-8); everything else is Windows-1252, which for
// plain ASCII makes no difference.

#include <string>
#include <string_view>

namespace ebook {

enum class TextEncoding { kWindows1252, kUtf8 };

TextEncoding BookTextEncoding(std::string_view bytes);

// The text as UTF-8 in the given encoding; a UTF-8 byte-order mark is dropped.
std::string DecodeText(std::string_view bytes, TextEncoding encoding);

// The text as UTF-8, its encoding chosen by BookTextEncoding.
std::string DecodeBookText(std::string_view bytes);

// Bytes for a text given in UTF-8 that DecodeBookText turns back into it: Windows-1252 when
// every character has a byte there and those bytes do not themselves read as UTF-8 (so viewers
// that know only Windows-1252 show it too), UTF-8 otherwise.
std::string EncodeBookText(std::string_view utf8);

}  // namespace ebook
