#pragma once
// The rules by which the search over all pages reads names, queries and pages. Everything here
// works on 8-bit text and changes the case of the ASCII letters only; bytes 0x80-0xFF always
// stand for themselves.

#include <cstddef>
#include <string>
#include <string_view>

namespace ebook {

// The status line while a search runs.
inline constexpr std::string_view kSearchingText = "Searching...";

// The status line after a search: "0 Pages found", "1 Pages found", "12 Pages found".
std::string PagesFoundText(size_t count);

// `text` without bytes 0x00-0x20 (blanks and control characters) at either end.
std::string_view TrimBlanks(std::string_view text);

// Turns 'A'-'Z' into 'a'-'z' and leaves every other byte alone. `out` may equal `in`.
void LowerAscii(const char* in, char* out, size_t size);

// The query as the search uses it: lower-cased, then trimmed. Empty means "do not search".
std::string NormalizeQuery(std::string_view typed);

// The extension of an entry name: from its last "." to the end, unless a "\" or ":" follows
// that "."; empty when there is none.
std::string_view NameExtension(std::string_view name);

// Whether the entry is a page the search reads: extension exactly ".HTM", ".HTML" or ".TXT"
// (letter case significant, so "page.htm" stored in lower case is never searched).
bool IsSearchablePage(std::string_view name);

// The caption of a page found: the stored text between the first "<title>" and the first
// "</title>" of the lower-cased page, trimmed, when the second does not begin before the end of
// the first; otherwise the entry name. `lowered` is `page` passed through LowerAscii.
std::string_view PageCaption(std::string_view page, std::string_view lowered,
                             std::string_view name);

}  // namespace ebook
