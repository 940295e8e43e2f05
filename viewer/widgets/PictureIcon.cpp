#include "viewer/widgets/PictureIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <cmath>
#include <utility>

namespace ebook {

namespace {

// Makes the picture afresh for each size asked for, in device pixels.
class PictureEngine : public QIconEngine {
 public:
  using Render = std::function<QImage(QSize devicePixels)>;
  PictureEngine(QSize size, Render render) : size_(size), render_(std::move(render)) {}

  QIconEngine* clone() const override { return new PictureEngine(*this); }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {size_}; }
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    return size_.scaled(size, Qt::KeepAspectRatio);
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1);
  }

  // `size` is in device pixels already; QIcon gives the result its device pixel ratio.
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal) override {
    QPixmap picture = QPixmap::fromImage(render_(size_.scaled(size, Qt::KeepAspectRatio)));
    if (mode == QIcon::Normal) return picture;
    // Disabled, active and selected looks as the style makes them for any picture.
    QStyleOption option;
    option.palette = QApplication::palette();
    return QApplication::style()->generatedIconPixmap(mode, picture, &option);
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device()->devicePixelRatio();
    const QSize shown = size_.scaled(rect.size(), Qt::KeepAspectRatio);
    QPixmap picture = scaledPixmap(shown * ratio, mode, state, ratio);
    picture.setDevicePixelRatio(ratio);
    painter->drawPixmap(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, shown, rect),
                        picture);
  }

 private:
  QSize size_;
  Render render_;
};

// A 1x bitmap at `target` device pixels. At whole ratios each pixel becomes a square block:
// the book's pixel art stays exactly as drawn, edges crisp, and the edge of its transparent
// colour gets no half-transparent fringe. At fractional ratios (1.25, 1.5) blocks alone would
// come out one and two pixels wide by turns, so the bitmap is enlarged in blocks to the next
// whole ratio and then reduced smoothly: edges stay sharp, blended over one device pixel.
QImage ScaledBitmap(const QImage& image, QSize target) {
  if (target == image.size()) return image;
  const double ratio =
      std::max(double(target.width()) / image.width(), double(target.height()) / image.height());
  const int whole = std::max(1, static_cast<int>(std::ceil(ratio - 1e-9)));
  const QImage blocks =
      image.scaled(image.size() * whole, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  if (blocks.size() == target) return blocks;
  return blocks.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

QIcon DrawnIcon(QSize size, std::function<void(QPainter&)> draw) {
  return QIcon(new PictureEngine(size, [size, draw = std::move(draw)](QSize target) {
    QImage image(target, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(double(target.width()) / size.width(), double(target.height()) / size.height());
    draw(painter);
    return image;
  }));
}

QIcon BitmapIcon(const QImage& image) {
  if (image.isNull()) return {};
  // Smooth reduction blends transparent pixels correctly only when premultiplied.
  const QImage source = image.convertToFormat(
      image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  return QIcon(new PictureEngine(source.size(),
                                 [source](QSize target) { return ScaledBitmap(source, target); }));
}

QSize PictureSize(const QIcon& icon) {
  return icon.isNull() ? QSize(0, 0) : icon.availableSizes().value(0, QSize(0, 0));
}

}  // namespace ebook
