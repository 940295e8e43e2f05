// Screens of device pixel ratio 1.5 and 2: the toolbar's and the contents tree's pictures are
// made for the ratio they are shown at, never a 1x pixmap stretched; the book's own bitmaps
// keep their pixels. Sizes stay logical: ctest also runs this class, ToolbarTest and the
// contents pictures under QT_SCALE_FACTOR 2 and 1.5, where the layout numbers must hold as at
// ratio 1.

#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "viewer/window/MainWindow.h"
#include "viewer/widgets/PictureIcon.h"
#include "viewer/dialogs/SplashScreen.h"
#include "viewer/widgets/ToolbarPictures.h"

using namespace ebook;
using namespace ebook::test;

namespace {

const QList<int> kBuiltInButtons = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12};

void InstallAllButtonsBook(std::vector<BookEntry> pictures = {}) {
  std::map<size_t, char> all;
  for (size_t i = 0; i < 10; ++i) all[i] = '1';
  pictures.push_back(SettingsEntry({"[cSettings]", "DATA=" + Options(all)}));
  InstallBook(std::move(pictures));
}

bool Pinkish(QRgb pixel) {
  return qAlpha(pixel) > 0 && qRed(pixel) > qGreen(pixel) + 16 && qBlue(pixel) > qGreen(pixel) + 16;
}

// Pixels that are neither transparent nor opaque: the soft edge around each shape. Drawn for
// the ratio, an edge is about one device pixel wide; stretched from 1x, it is as wide as a
// stretched pixel or wider.
int SoftPixels(const QImage& picture) {
  const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
  int soft = 0;
  for (int y = 0; y < argb.height(); ++y)
    for (int x = 0; x < argb.width(); ++x)
      if (qAlpha(argb.pixel(x, y)) > 0 && qAlpha(argb.pixel(x, y)) < 255) ++soft;
  return soft;
}

// Checks that `icon` of logical size `size` comes at `ratio` with that many device pixels,
// drawn at that ratio rather than stretched from its 1x picture: its soft edge pixels are
// clearly fewer than those of the 1x picture stretched smoothly, and at a whole ratio also
// than those of the 1x picture stretched in pixel blocks (as a painter stretches a pixmap).
void VerifyDrawnAt(const QIcon& icon, QSize size, qreal ratio) {
  const QPixmap shown = icon.pixmap(size, ratio);
  QCOMPARE(shown.devicePixelRatio(), ratio);
  QCOMPARE(shown.size(), size * ratio);
  QCOMPARE(shown.deviceIndependentSize().toSize(), size);
  const QImage single = icon.pixmap(size, 1.0).toImage();
  QList<Qt::TransformationMode> stretches = {Qt::SmoothTransformation};
  if (ratio == std::round(ratio)) stretches.append(Qt::FastTransformation);
  const int soft = SoftPixels(shown.toImage());
  for (Qt::TransformationMode stretch : stretches) {
    const int stretchedSoft =
        SoftPixels(single.scaled(shown.size(), Qt::IgnoreAspectRatio, stretch));
    QVERIFY2(
        soft * 4 < stretchedSoft * 3,
        qPrintable(QStringLiteral("%1 soft pixels, stretched %2").arg(soft).arg(stretchedSoft)));
  }
}

}  // namespace

class HighDpiTest : public QObject {
  Q_OBJECT

 private slots:
  void builtInPicturesDrawnAtTheRatio_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("2") << 2.0;
  }
  void builtInPicturesDrawnAtTheRatio() {
    QFETCH(qreal, ratio);
    InstallAllButtonsBook();
    TBB1 window(test::Book());
    for (int i : kBuiltInButtons) {
      QToolButton* button = window.SpeedButton[i];
      QCOMPARE(button->iconSize(), QSize(16, 16));
      VerifyDrawnAt(button->icon(), button->iconSize(), ratio);
      if (QTest::currentTestFailed()) return qWarning("in the picture of SpeedButton%d", i);
    }
    VerifyDrawnAt(BuiltInLogo(), QSize(32, 32), ratio);
    // The contents pictures are aligned to whole pixels: at 2x they are their 1x pictures
    // doubled, so only their pixel count tells.
    for (const QIcon& picture : window.ImagesVST2) {
      const QPixmap shown = picture.pixmap(QSize(16, 16), ratio);
      QCOMPARE(shown.devicePixelRatio(), ratio);
      QCOMPARE(shown.size(), QSize(16, 16) * ratio);
    }
  }

  void bookBitmapsKeepTheirPixels_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("2") << 2.0;
  }
  void bookBitmapsKeepTheirPixels() {
    QFETCH(qreal, ratio);
    // B5 (Stop), 6 x 4: magenta (the bottom-left colour) is transparent; a dark pixel, a
    // white one and a dark bar of two.
    QImage stop(6, 4, QImage::Format_RGB32);
    stop.fill(QColor(255, 0, 255));
    stop.setPixel(1, 1, qRgb(10, 20, 30));
    stop.setPixel(2, 2, qRgb(255, 255, 255));
    stop.setPixel(4, 1, qRgb(10, 20, 30));
    stop.setPixel(4, 2, qRgb(10, 20, 30));
    InstallAllButtonsBook({{"B5.QRLC", BitmapOf(stop)}});
    TBB1 window(test::Book());
    const QToolButton* button = window.SpeedButton[5];
    QCOMPARE(button->iconSize(), QSize(6, 4));
    const QPixmap shown = button->icon().pixmap(button->iconSize(), ratio);
    QCOMPARE(shown.devicePixelRatio(), ratio);
    QCOMPARE(shown.size(), QSize(6, 4) * ratio);
    const QImage image = shown.toImage().convertToFormat(QImage::Format_ARGB32);
    // No trace of the transparent colour where pixels were blended.
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) QVERIFY(!Pinkish(image.pixel(x, y)));
    QCOMPARE(qAlpha(image.pixel(0, image.height() - 1)), 0);
    QCOMPARE(qAlpha(image.pixel(image.width() - 1, 0)), 0);
    if (ratio != 2.0) return;
    // At a whole ratio each book pixel is a square of device pixels, unblended: the picture
    // stays exactly as the book drew it.
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QRgb book = stop.pixel(x / 2, y / 2);
        const QRgb expected = book == qRgb(255, 0, 255) ? qRgba(0, 0, 0, 0) : book;
        QCOMPARE(image.pixel(x, y), expected);
      }
  }

  // The logo is a label's pixmap: it is made for the ratio of the window's screen (1 in a
  // plain run, 1.5 or 2 under QT_SCALE_FACTOR), and keeps its logical size and width.
  void logoAtTheWindowsRatio_data() {
    QTest::addColumn<bool>("bookLogo");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("width");
    QTest::newRow("built-in") << false << QSize(32, 32) << 48;
    QTest::newRow("the book's") << true << QSize(40, 20) << 40;
  }
  void logoAtTheWindowsRatio() {
    QFETCH(bool, bookLogo);
    QFETCH(QSize, size);
    QFETCH(int, width);
    std::vector<BookEntry> entries = {
        SettingsEntry({"[cSettings]", "DATA=" + Options({{15, bookLogo ? '1' : '0'}})})};
    if (bookLogo) entries.push_back({"LOGO.QRLC", Bitmap(40, 20)});
    InstallBook(entries);
    TBB1 window(test::Book());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPixmap logo = window.Image1->pixmap();
    QCOMPARE(logo.devicePixelRatio(), window.devicePixelRatio());
    QCOMPARE(logo.deviceIndependentSize().toSize(), size);
    QCOMPARE(logo.size(), size * window.devicePixelRatio());
    QCOMPARE(window.Image1->width(), width);
  }

  // The splash keeps its picture's size in logical pixels, with a pixmap for its screen.
  void splashAtTheScreensRatio() {
    InstallBook({{"XSEI.QRLC", "1"}, {"XSE0.QRLC", Bitmap(120, 80)}});
    QPointer<TSplashScreen> splash = TSplashScreen::ShowIfWanted(test::Book());
    QVERIFY(splash);
    QCOMPARE(splash->size(), QSize(120, 80));
    const QPixmap shown = splash->Image1->pixmap();
    QCOMPARE(shown.devicePixelRatio(), splash->devicePixelRatio());
    QCOMPARE(shown.size(), QSize(120, 80) * splash->devicePixelRatio());
    WaitUntil([&] { return splash.isNull(); }, "the splash window to close");
  }
};

#include "HighDpiTest.moc"

EBOOK_VIEWER_TEST(HighDpiTest);
