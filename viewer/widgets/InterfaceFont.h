#pragma once
// The interface font. The window's sizes (buttons 48 pixels wide, the About box's 361 × 277, the
// side panels) were planned for MS Sans Serif 8 point at 96 dots per inch: an em of 11 pixels.
// Layout sizes are given in the same device-independent pixels, which Qt scales for the
// screen, so the font is given in pixels too and scales with them. Families with the design
// font's narrow metrics come first; the desktop's own font is the last choice.

#include <QFont>

namespace ebook {

// 8 points at 96 dots per inch, rounded as the design font rounds it.
inline constexpr int kInterfacePixelSize = 11;

// `base` (the desktop's font) at the interface size, in the narrowest design-like family the
// system has.
QFont InterfaceFont(const QFont& base);

}  // namespace ebook
