#pragma once
// HTML character references in text: "&#233;" and "&#xE9;" (a missing ";" is forgiven, as
// browsers do), and the named references of HTML 4 plus "&apos;" ("&eacute;", "&mdash;",
// "&amp;" ...; the ";" is required). Anything else, a lone "&" included, stays as written.
// Numeric references to 0x80-0x9F stand for the Windows-1252 characters of those bytes, and
// those to nothing (0, surrogates, past U+10FFFF) for U+FFFD, as in a browser.

#include <string>
#include <string_view>

namespace ebook {

// `utf8` with its character references replaced by the characters, in UTF-8.
std::string DecodeCharacterReferences(std::string_view utf8);

}  // namespace ebook
