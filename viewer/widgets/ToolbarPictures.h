#pragma once
// The toolbar's pictures: the built-in button pictures and logo, and the book's own pictures
// read from Windows bitmap entries (B1.QRLC ... B10.QRLC, LOGO.QRLC). All are icons made for
// the device pixel ratio they are shown at (viewer/widgets/PictureIcon.h); sizes are logical pixels.

#include <QIcon>
#include <string>

namespace ebook {

// The built-in 16 x 16 picture of SpeedButton1 ... SpeedButton9 or SpeedButton12; a null
// icon for any other number.
QIcon BuiltInButtonPicture(int speedButton);

// The built-in logo, 32 x 32.
QIcon BuiltInLogo();

// A button picture from a bitmap file: every pixel of the colour of the bottom-left pixel is
// transparent (white for a two-colour bitmap), so the toolbar shows through. A null icon when
// the bytes are not a picture.
QIcon ButtonPictureFromBitmap(const std::string& bitmap);

// A logo from a bitmap file, opaque; a null icon when the bytes are not a picture.
QIcon LogoFromBitmap(const std::string& bitmap);

}  // namespace ebook
