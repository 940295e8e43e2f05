#pragma once
// Unicode's simple case folding (one character to one character), for matching text without
// regard to letter case in any script: É and é, Ä and ä, Σ, ς and σ fold together. The table
// is generated from Unicode's CaseFolding.txt by make_case_folding.py.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace ebook {

char32_t FoldCase(char32_t code);

// Writes `in` with every character case-folded to `out` (replacing its content). Bytes that
// are not valid UTF-8 are copied unchanged, so any byte string can be folded. The result may be
// longer than `in` (by at most half) or shorter.
void FoldUtf8(std::string_view in, std::string& out);
std::string FoldUtf8(std::string_view in);
// The same, appended to what `out` holds.
void AppendFoldedUtf8(std::string_view in, std::string& out);

// For each Windows-1252 byte, the byte of its folded character (the byte itself when the folded
// character has no Windows-1252 byte).
const std::array<unsigned char, 256>& Windows1252FoldTable();

// Turns 'A'-'Z' into 'a'-'z' and leaves every other byte alone, eight bytes at a time. `out`
// may equal `in`.
void LowerAscii(const char* in, char* out, size_t size);

}  // namespace ebook
