#pragma once
// Which encoding a page of the book is written in, as a browser settles it: a byte-order mark;
// else a charset the page declares near its start (<meta charset>, <meta http-equiv
// content="...; charset=...">, or an XML declaration's encoding), looked for in its first 1024
// bytes; else the book-text rule (valid UTF-8 with a non-ASCII byte is UTF-8, anything else
// Windows-1252). As in browsers, "iso-8859-1", "latin1" and "us-ascii" mean Windows-1252.

#include <string>
#include <string_view>

namespace ebook {

struct PageEncoding {
  enum class Kind { kWindows1252, kUtf8, kOther } kind = Kind::kWindows1252;
  std::string charset;    // kOther: the charset as declared, for the converter
  bool declared = false;  // by a byte-order mark or the page's own declaration
};

PageEncoding DetectPageEncoding(std::string_view page);

// Only what the page declares (its first 1024 bytes): `declared` is false when it says nothing,
// and the kind is then meaningless. Cheaper than DetectPageEncoding, which reads every byte of
// an undeclared page.
PageEncoding DeclaredPageEncoding(std::string_view page);

// Whether the page names its own encoding (byte-order mark or declaration), so that whoever
// serves it must not contradict it.
bool DeclaresCharset(std::string_view page);

// The page's text as UTF-8. Bytes the encoding has no character for become U+FFFD; a charset
// this system cannot convert reads by the book-text rule.
std::string PageToUtf8(std::string_view page, const PageEncoding& encoding);

}  // namespace ebook
