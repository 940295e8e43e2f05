#include "viewer/dialogs/SplashScreen.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <climits>
#include <stdexcept>

#include "archive/BookContent.h"
#include "settings/IniText.h"
#include "viewer/widgets/PictureIcon.h"
#include "viewer/dialogs/ReaderMessages.h"
#include "text/Ascii.h"

namespace ebook {

QPointer<TSplashScreen> SplashScreen;

TSplashScreen* TSplashScreen::ShowIfWanted(const BookContent& book) {
  if (book.ReadEntry(kMarkerEntry).empty()) return nullptr;
  auto* splash = new TSplashScreen(book);
  SplashScreen = splash;
  if (splash->dismissed_) return splash;  // creation failed and was reported
  const QSize pictureSize = splash->Image1->pixmap().deviceIndependentSize().toSize();
  splash->setFixedSize(pictureSize);
  splash->Image1->resize(pictureSize);
  splash->centreOnScreen();
  splash->show();
  splash->repaint();
  return splash;
}

TSplashScreen::TSplashScreen(const BookContent& book)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Image1(new QLabel(this)),
      Timer1(new QTimer(this)) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image1->move(0, 0);
  Timer1->setSingleShot(true);
  connect(Timer1, &QTimer::timeout, this, &TSplashScreen::Timer1Timer);
  try {
    FormCreate(book);
  } catch (...) {
    ReportCurrentException();
    // Without a running timer the splash would stay for the whole run: remove it now.
    if (!Timer1->isActive()) dismiss();
  }
}

void TSplashScreen::FormCreate(const BookContent& book) {
  const std::string picture = book.ReadEntry(kPictureEntry);
  const std::string marker = book.ReadEntry(kMarkerEntry);
  const std::optional<int32_t> seconds = ParseInteger(TrimControl(marker));
  if (!seconds) {
    throw std::invalid_argument("'" + marker + "' is not a valid integer value");
  }
  const qint64 ms = qint64{*seconds} * 1000;
  Timer1->setInterval(static_cast<int>(std::clamp<qint64>(ms, 1, INT_MAX)));
  Timer1->start();
  if (!picture.empty()) {
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(picture.data()),
                            static_cast<int>(std::min<size_t>(picture.size(), INT_MAX)), "BMP")) {
      throw std::runtime_error("Bitmap image is not valid");
    }
    // At the ratio of the screen it is shown on, so that it stays clean on high-DPI screens.
    const QIcon shown = BitmapIcon(image);
    Image1->setPixmap(shown.pixmap(PictureSize(shown), Image1->devicePixelRatio()));
  }
}

void TSplashScreen::Timer1Timer() { dismiss(); }

void TSplashScreen::dismiss() {
  if (dismissed_) return;
  dismissed_ = true;
  Timer1->stop();
  hide();
  deleteLater();
}

void TSplashScreen::centreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  move(area.left() + std::max(0, (area.width() - width()) / 2),
       area.top() + std::max(0, (area.height() - height()) / 2));
}

}  // namespace ebook
