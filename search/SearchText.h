#pragma once
// The rules by which the search over all pages reads names, queries and titles. Queries are
// UTF-8 text and letter case is folded for every script (text/CaseFolding); names and pages are
// the book's own bytes.

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

// The query as typed, as UTF-8 text without blanks at either end: the panel hands UTF-8; bytes
// that are not valid UTF-8 (a query written in Windows-1252) are read as Windows-1252. Empty
// means "do not search".
std::string QueryText(std::string_view typed);

// The query as it is compared: QueryText case-folded. For an ASCII query that is the query
// lower-cased, then trimmed.
std::string NormalizeQuery(std::string_view typed);

// The extension of an entry name: from its last "." to the end, unless a "\" or ":" follows
// that "."; empty when there is none.
std::string_view NameExtension(std::string_view name);

// Whether the entry is a page the search reads: extension exactly ".HTM", ".HTML" or ".TXT"
// (letter case significant, so "page.htm" stored in lower case is never searched).
bool IsSearchablePage(std::string_view name);

// The caption of a page found, in UTF-8: the text of its title element (which may carry
// attributes), decoded in the page's encoding with its character references, trimmed (inner
// line breaks kept); otherwise the entry name, decoded as the book's text.
std::string PageCaption(std::string_view page, std::string_view name);

}  // namespace ebook
