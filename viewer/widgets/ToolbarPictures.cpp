#include "viewer/widgets/ToolbarPictures.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include "viewer/widgets/PictureIcon.h"

namespace ebook {

namespace {

const QColor kInk(0x30, 0x40, 0x60);
const QColor kAccent(0x2a, 0x7a, 0xd0);

QImage ImageFromBitmap(const std::string& bitmap) {
  QImage image;
  image.loadFromData(reinterpret_cast<const uchar*>(bitmap.data()),
                     static_cast<int>(bitmap.size()));
  return image;
}

void Arrow(QPainter& p, bool pointsLeft) {
  const qreal tip = pointsLeft ? 2 : 14;
  const qreal back = pointsLeft ? 14 : 2;
  const qreal mid = 8;
  p.drawPolygon(QPolygonF{{tip, 8}, {mid, 2}, {mid, 5}, {back, 5}, {back, 11}, {mid, 11},
                          {mid, 14}});
}

void Draw(QPainter& p, int speedButton) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kAccent);
  switch (speedButton) {
    case 1:  // Back
    case 2:  // Next
      Arrow(p, speedButton == 1);
      break;
    case 3: {  // Reload: a circling arrow
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(kAccent, 2));
      p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 280 * 16);
      p.setPen(QPen(kInk, 1));
      p.setBrush(kAccent);
      p.drawPolygon(QPolygonF{{9, 1}, {14, 3.5}, {9, 6}});
      break;
    }
    case 4:  // Home: a house
      p.drawPolygon(QPolygonF{{8, 1.5}, {15, 8}, {13, 8}, {13, 14.5}, {3, 14.5}, {3, 8}, {1, 8}});
      p.setBrush(Qt::white);
      p.drawRect(QRectF(6.5, 10, 3, 4.5));
      break;
    case 5:  // Stop: an octagon with a bar
      p.setBrush(QColor(0xc8, 0x30, 0x30));
      p.drawPolygon(QPolygonF{{5, 1}, {11, 1}, {15, 5}, {15, 11}, {11, 15}, {5, 15}, {1, 11},
                              {1, 5}});
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4, 7, 8, 2));
      break;
    case 6:  // Search: a magnifying glass
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
      p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
      break;
    case 7:  // Print: a printer with a sheet
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4, 1.5, 8, 5));
      p.setBrush(kAccent);
      p.drawRect(QRectF(1.5, 6.5, 13, 6));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4, 10.5, 8, 4));
      break;
    case 8:  // About: an "i" in a circle
      p.drawEllipse(QRectF(1, 1, 14, 14));
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(7, 3.5, 2, 2));
      p.drawRect(QRectF(7, 7, 2, 5.5));
      break;
    case 9:  // Exit: a door with an arrow leaving it
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 1.5, 7, 13));
      p.setBrush(kAccent);
      p.drawPolygon(QPolygonF{{15, 8}, {11, 4}, {11, 6.5}, {6, 6.5}, {6, 9.5}, {11, 9.5}, {11, 12}});
      break;
    case 12:  // Content: an open book
      p.setBrush(Qt::white);
      p.drawPolygon(QPolygonF{{8, 3.5}, {1, 2}, {1, 13}, {8, 14.5}});
      p.drawPolygon(QPolygonF{{8, 3.5}, {15, 2}, {15, 13}, {8, 14.5}});
      p.drawLine(QPointF(3, 6), QPointF(6.5, 6.7));
      p.drawLine(QPointF(3, 9), QPointF(6.5, 9.7));
      p.drawLine(QPointF(9.5, 6.7), QPointF(13, 6));
      p.drawLine(QPointF(9.5, 9.7), QPointF(13, 9));
      break;
    default:
      break;
  }
}

}  // namespace

QIcon BuiltInButtonPicture(int speedButton) {
  if (speedButton < 1 || speedButton > 12 || speedButton == 10 || speedButton == 11) return {};
  return DrawnIcon(QSize(16, 16), [speedButton](QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(painter, speedButton);
  });
}

QIcon BuiltInLogo() {
  // An open book in a rounded square.
  return DrawnIcon(QSize(32, 32), [](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF{{16, 9}, {5, 7}, {5, 24}, {16, 26}});
    p.drawPolygon(QPolygonF{{16, 9}, {27, 7}, {27, 24}, {16, 26}});
  });
}

QIcon ButtonPictureFromBitmap(const std::string& bitmap) {
  const QImage image = ImageFromBitmap(bitmap);
  if (image.isNull()) return {};
  const bool twoColours = image.depth() == 1;
  const QRgb key = twoColours ? qRgb(255, 255, 255) : image.pixel(0, image.height() - 1);
  QImage picture = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < picture.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      if ((line[x] & RGB_MASK) == (key & RGB_MASK)) line[x] = qRgba(0, 0, 0, 0);
    }
  }
  return BitmapIcon(picture);
}

QIcon LogoFromBitmap(const std::string& bitmap) {
  const QImage image = ImageFromBitmap(bitmap);
  if (image.isNull()) return {};
  return BitmapIcon(image.convertToFormat(QImage::Format_RGB32));
}

}  // namespace ebook
