#pragma once
// Colours of the book's settings as Qt colours. A book writes a colour name of the table
// ("clNavy") or an integer; a system colour ("clBtnFace", 0xFF00000F) stands for a colour of
// the platform's palette.

#include <QColor>
#include <optional>
#include <string_view>

class QPalette;

namespace ebook {

// The colour `text` names, with system colours taken from `palette`; nullopt for text that is
// neither a name nor an integer, for "clNone" and "clDefault", and for a system colour the
// platform has no counterpart of. A caller keeps its default colour then.
std::optional<QColor> BookColor(std::string_view text, const QPalette& palette);

}  // namespace ebook
