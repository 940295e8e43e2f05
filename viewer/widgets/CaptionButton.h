#pragma once
// A toolbar button (SpeedButton1 ... SpeedButton12): a flat button that draws its picture above
// its caption. A caption wider than the button is set in a condensed cut of the button's
// font, and only when even that does not fit, elided in the middle; an elided caption shows
// whole in the button's tooltip. text() is always the whole caption.

#include <QFont>
#include <QString>
#include <QToolButton>

namespace ebook {

// How a caption is drawn in `width` pixels: `font` itself when the caption fits, else the
// font condensed, else that condensed font with the caption elided in the middle.
struct FittedCaption {
  QFont font;
  QString text;
  bool elided = false;
};
FittedCaption FitCaption(const QString& caption, const QFont& font, int width);

class CaptionButton : public QToolButton {
  Q_OBJECT
 public:
  explicit CaptionButton(QWidget* parent = nullptr);

  // The caption as it is drawn at the button's present size.
  FittedCaption fittedCaption() const;
  // The width the style leaves for the caption.
  int captionWidth() const;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace ebook
