#pragma once
// Link commands name files in upper case (their argument is upper-cased), and books come from a
// system whose file names ignore letter case. On a case-sensitive file system such a path is
// resolved to the existing file whose name matches without regard to ASCII case, level by
// level. Backslashes count as folder separators.

#include <string>

namespace ebook {

// The existing path that `path` names without regard to ASCII case; `path` itself (with "\"
// turned into "/") when no such file exists or when it is not a local path (a web address).
// Where several names match at one level, an exact match wins, then the first in name order.
std::string ResolvePathIgnoringCase(const std::string& path);

}  // namespace ebook
