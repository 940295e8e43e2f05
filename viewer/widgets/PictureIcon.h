#pragma once
// Pictures that stay clean on screens of any device pixel ratio. A picture has a logical size
// (pixels as at 96 dpi, the size layout works with); each ratio it is shown at gets a pixmap of
// its own with that many device pixels, drawn or scaled for it, instead of a 1x pixmap that the
// painter stretches blocky or blurred.

#include <QIcon>
#include <QImage>
#include <QSize>
#include <functional>

class QPainter;

namespace ebook {

// A picture that `draw` paints in logical coordinates, (0, 0) to `size`; it is drawn again for
// every ratio, so lines and edges fall on device pixels.
QIcon DrawnIcon(QSize size, std::function<void(QPainter&)> draw);

// A bitmap that exists only at 1x, such as a book's own picture; its logical size is its size
// in pixels. A null icon for a null image.
QIcon BitmapIcon(const QImage& image);

// The logical size of a DrawnIcon or BitmapIcon; 0 x 0 for a null icon.
QSize PictureSize(const QIcon& icon);

}  // namespace ebook
