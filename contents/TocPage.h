#pragma once
// Page names of contents nodes as the viewer uses them (read from a node's TocNodeData block
// by TocPageName in contents/TocStream.h): trimmed (TrimControl, text/Ascii.h) for navigation,
// trimmed and upper-cased for comparison with the page shown.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ebook {

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

// The node the contents should show as the page shown, by index into `nodePages` (every node's
// page name in depth-first order, in ComparablePageName form; "" for a node without a page):
// the last node naming `shown` (also in ComparablePageName form) exactly; when none does, the
// last naming the same entry the way a page request finds it (without fragment or query, "//"
// collapsed, ...: navigation/EntryLookup). The selected node is kept when it names the page as
// well as any. nullopt when no node names the page: the selection stays where it is.
std::optional<size_t> NodeNamingPage(const std::vector<std::string>& nodePages,
                                     std::string_view shown, std::optional<size_t> selected);

}  // namespace ebook
