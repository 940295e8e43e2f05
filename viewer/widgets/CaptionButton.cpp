#include "viewer/widgets/CaptionButton.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolTip>

namespace ebook {

namespace {

bool Fits(const QString& caption, const QFont& font, int width) {
  return QFontMetrics(font).horizontalAdvance(caption) <= width;
}

}  // namespace

FittedCaption FitCaption(const QString& caption, const QFont& font, int width) {
  if (Fits(caption, font, width)) return {font, caption, false};
  // A condensed face where the family has one; otherwise the engine narrows the letters.
  QFont condensed = font;
  condensed.setStretch(QFont::SemiCondensed);
  if (Fits(caption, condensed, width)) return {condensed, caption, false};
  const QString elided = QFontMetrics(condensed).elidedText(caption, Qt::ElideMiddle, width);
  return {condensed, elided, true};
}

CaptionButton::CaptionButton(QWidget* parent) : QToolButton(parent) {}

int CaptionButton::captionWidth() const {
  QStyleOptionToolButton option;
  initStyleOption(&option);
  // The label is drawn inside the button's frame.
  const QRect button =
      style()->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButton, this);
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  return button.width() - 2 * frame;
}

FittedCaption CaptionButton::fittedCaption() const {
  return FitCaption(text(), font(), captionWidth());
}

bool CaptionButton::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
    const FittedCaption caption = fittedCaption();
    if (caption.elided) {
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QToolButton::event(event);
}

void CaptionButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  const FittedCaption caption = FitCaption(option.text, font(), captionWidth());
  option.text = caption.text;
  option.font = caption.font;
  option.fontMetrics = QFontMetrics(caption.font);
  painter.drawComplexControl(QStyle::CC_ToolButton, option);
}

}  // namespace ebook
