#pragma once
// What a reader is told when the system lacks libraries the viewer needs: which ones, and the
// packages that bring them. Always on stderr; in a window too where the desktop has a program
// that shows one (zenity, kdialog or xmessage), since a book is mostly started from a file
// manager, where nobody sees stderr.

#include <string>
#include <string_view>
#include <vector>

namespace ebook {

// The Debian package that holds a library, by Debian's naming rule for shared libraries:
// libQt6WebEngineWidgets.so.6 -> libqt6webenginewidgets6, libfoo2.so.1 -> libfoo2-1.
std::string DebianPackageOf(std::string_view soname);

// The message for `missing` sonames (at least one).
std::string MissingRuntimeMessage(const std::vector<std::string>& missing);

// `text` with every line longer than `width` broken at spaces; a continued line is indented two
// more than the line it continues, and an indented line (a command) ends each piece with " \",
// so that it still pastes into a shell as one. For windows that do not wrap (xmessage).
std::string WrapLines(std::string_view text, size_t width);

// Shows `text` in a window, captioned `title`, with the first of zenity, kdialog and xmessage
// found in $PATH, and waits until the reader closes it. False when there is no display or no
// such program.
bool ShowMessageWindow(const std::string& title, const std::string& text);

}  // namespace ebook
