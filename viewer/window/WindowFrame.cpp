// TBB1: the window's size, border style, placement and caption buttons (option offsets 28 to
// 32). Sizes from the book are outer sizes, frame included.

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "viewer/window/MainWindow.h"

namespace ebook {

void TBB1::applyOuterSize(int width, int height) {
  outerSize_ = QSize(width, height);
  // The frame's size is known only once the window is shown (matchOuterSize); until then
  // the client area takes the whole size.
  resize(outerSize_);
}

void TBB1::matchOuterSize() {
  if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) return;
  const QSize frame = frameGeometry().size() - geometry().size();
  if (frame.width() <= 0 && frame.height() <= 0) return;
  const QSize client = outerSize_ - frame;
  if (fixedSize_) {
    setFixedSize(client);
  } else {
    resize(client);
  }
}

void TBB1::centreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  const int left = std::max(0, (area.width() - outerSize_.width()) / 2);
  const int top = std::max(0, (area.height() - outerSize_.height()) / 2);
  move(area.left() + left, area.top() + top);
}

void TBB1::applyBorderStyle() {
  const OptionString& options = BookSettings.OptionString;
  const char border = options.at(opt::kBorder);
  Qt::WindowFlags flags = Qt::Window;
  switch (border) {
    case '0':
      flags |= Qt::FramelessWindowHint;
      break;
    case '3':
    case '4':
      flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
              Qt::WindowCloseButtonHint;
      break;
    default:
      break;
  }
  fixedSize_ = border == '1' || border == '3';

  if (border == '1' || border == '2') {
    switch (options.at(opt::kPlacement)) {
      case '0':
        centreOnScreen();
        break;
      case '1':
        setWindowState(Qt::WindowMinimized);
        break;
      case '2':
        setWindowState(Qt::WindowMaximized);
        break;
      default:
        break;  // the window system places it
    }
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    // Without the system menu there are no caption buttons at all.
    if (!options.is(opt::kSystemMenu, '0')) {
      flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (!options.is(opt::kMinimizeButton, '0')) flags |= Qt::WindowMinimizeButtonHint;
      if (!options.is(opt::kMaximizeButton, '0')) flags |= Qt::WindowMaximizeButtonHint;
    }
  } else {
    centreOnScreen();
  }
  setWindowFlags(flags);
  if (fixedSize_) setFixedSize(size());
}

}  // namespace ebook
