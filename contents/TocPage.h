#pragma once
// Page names of contents nodes as the viewer uses them: read from a node's TocNodeData block,
// trimmed for navigation, trimmed and upper-cased for comparison with the page shown.

#include <string>
#include <string_view>

namespace ebook {

// The page name of a contents node; empty unless `data` is a complete 512-byte TocNodeData
// block (a node with an absent or short block shows no page). Not trimmed.
std::string TocNodePageName(std::string_view data);

// `page` without blanks and control characters (codes up to 32) at either end.
std::string TrimPageName(std::string_view page);

// The form in which page names are compared: trimmed, ASCII letters upper-cased.
std::string ComparablePageName(std::string_view page);

// In temp-folder mode the recorded page target still carries the tail of the book folder's
// file address ("MP12-34/CH1.HTM" for ".../TMP12-34/ch1.htm"). `folderTarget` is the folder's
// address (`folderAddress`) recorded the same way ("MP12-34/"). The page name is what follows
// that prefix; when the target was spelled differently (other escapes, other separators), what
// follows the first whole occurrence of the folder's name and one separator; otherwise the
// target unchanged.
std::string PageNameInFolderTarget(std::string_view target, std::string_view folderTarget,
                                   std::string_view folderAddress);

}  // namespace ebook
