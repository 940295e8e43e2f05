// TBB1: the toolbar panel Panel1, its buttons and the logo Image1. The buttons stay hidden
// until set_toolbar lays them out; the panel runs along the top edge (or the bottom edge).

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>
#include <functional>
#include <utility>

#include "platform/Shell.h"
#include "archive/BookImage.h"
#include "viewer/widgets/BookColor.h"
#include "viewer/widgets/CaptionButton.h"
#include "viewer/window/MainWindow.h"
#include "viewer/widgets/PictureIcon.h"
#include "viewer/widgets/ToolbarPictures.h"
#include "archive/InternalEntries.h"

namespace ebook {

namespace {

struct ToolbarButton {
  int speedButton;  // SpeedButton1 ... SpeedButton12
  size_t offset;    // the option switch that shows it
};

// Left to right. Stop stands between Next and Reload, Content between Home and Search.
constexpr std::array<ToolbarButton, 10> kPlacement = {{
    {1, opt::kBack},
    {2, opt::kNext},
    {5, opt::kStop},
    {3, opt::kReload},
    {4, opt::kHome},
    {12, opt::kContent},
    {6, opt::kSearch},
    {7, opt::kPrint},
    {8, opt::kAbout},
    {9, opt::kExit},
}};

// The picture entries B1.QRLC ... B10.QRLC belong to SpeedButton1 ... SpeedButton9 and
// SpeedButton12.
constexpr std::array<int, 10> kPictureOwner = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12};

// Runs `action` when the watched widget is clicked with the left mouse button, or when it has
// the keyboard and Enter or Space is pressed.
class ClickFilter : public QObject {
 public:
  ClickFilter(QWidget* watched, std::function<void()> action)
      : QObject(watched), action_(std::move(action)) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      action_();
      return true;
    }
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        action_();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> action_;
};

void SetPicture(QToolButton* button, const QIcon& picture) {
  button->setIcon(picture);
  button->setIconSize(PictureSize(picture));
}

}  // namespace

void TBB1::createToolbarPanel() {
  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(50);
  Panel1->setAutoFillBackground(true);
  for (int i = 1; i <= 12; ++i) {
    if (i == 10 || i == 11) continue;  // the side panels' close buttons
    auto* button = new CaptionButton(Panel1);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setGeometry(0, 1, 57, 48);
    SetPicture(button, BuiltInButtonPicture(i));
    button->hide();
    SpeedButton[i] = button;
  }
  connect(SpeedButton[1], &QToolButton::clicked, this, &TBB1::SpeedButton1Click);
  connect(SpeedButton[2], &QToolButton::clicked, this, &TBB1::SpeedButton2Click);
  connect(SpeedButton[3], &QToolButton::clicked, this, &TBB1::SpeedButton3Click);
  connect(SpeedButton[4], &QToolButton::clicked, this, &TBB1::SpeedButton4Click);
  connect(SpeedButton[5], &QToolButton::clicked, this, &TBB1::SpeedButton5Click);
  connect(SpeedButton[6], &QToolButton::clicked, this, &TBB1::SpeedButton6Click,
          Qt::UniqueConnection);
  connect(SpeedButton[7], &QToolButton::clicked, this, &TBB1::SpeedButton7Click);
  connect(SpeedButton[8], &QToolButton::clicked, this, &TBB1::SpeedButton8Click);
  connect(SpeedButton[9], &QToolButton::clicked, this, &TBB1::SpeedButton9Click);
  connect(SpeedButton[12], &QToolButton::clicked, this, &TBB1::SpeedButton12Click,
          Qt::UniqueConnection);

  auto* row = new QHBoxLayout(Panel1);
  row->setContentsMargins(0, 0, 0, 0);
  row->addStretch();
  Image1 = new QLabel(Panel1);
  Image1->setFixedWidth(48);
  Image1->setAlignment(Qt::AlignCenter);
  Image1->setCursor(Qt::PointingHandCursor);
  logo_ = BuiltInLogo();
  showLogo();
  new ClickFilter(Image1, [this] { Image1Click(); });
  row->addWidget(Image1);
  layout_->addWidget(Panel1);
}

void TBB1::putToolbarAtBottom() {
  layout_->removeWidget(Panel1);
  layout_->addWidget(Panel1);
}

void TBB1::set_toolbar(int buttonWidth, int buttonHeight) {
  const OptionString& options = BookSettings.OptionString;
  // 1. Without a toolbar nothing else of the toolbar happens.
  if (options.is(opt::kNoToolbar, '1')) {
    Panel1->hide();
    Panel1->setEnabled(false);
    return;
  }
  // 2., 3.
  const int step = buttonWidth + 1;
  Panel1->setFixedHeight(buttonHeight + 6);
  // 4., 5. A colour the book writes wrongly leaves the default one.
  if (auto color = BookColor(BookSettings.ToolbarColor, Panel1->palette())) {
    QPalette palette = Panel1->palette();
    palette.setColor(QPalette::Window, *color);
    Panel1->setPalette(palette);
  }
  if (auto color = BookColor(BookSettings.ToolbarTextColor, Panel1->palette())) {
    for (int i : kPictureOwner) {
      QPalette palette = SpeedButton[i]->palette();
      palette.setColor(QPalette::ButtonText, *color);
      palette.setColor(QPalette::WindowText, *color);
      SpeedButton[i]->setPalette(palette);
    }
  }
  // 6., 7. Shown buttons stand side by side with a gap of one pixel, hidden ones take no place.
  int x = 0;
  for (const ToolbarButton& placed : kPlacement) {
    QToolButton* button = SpeedButton[placed.speedButton];
    button->setGeometry(0, 1, buttonWidth, buttonHeight);
    if (!options.is(placed.offset, '1')) continue;
    button->move(x, 1);
    button->show();
    x += step;
  }
  // 8., 9. The logo: the book's own (its own size, centred or stretched) or none.
  if (options.is(opt::kLogo, '1')) {
    logo_ = LogoFromBitmap(book_.ReadEntry(kLogoEntry));
    showLogo();
    Image1->setScaledContents(options.is(opt::kLogoStretch, '1'));
    Image1->setFixedWidth(PictureSize(logo_).width());
  }
  if (options.is(opt::kLogo, '2')) Image1->hide();
  // A logo that leads to the book's web address is a link the keyboard reaches too.
  if (!BookSettings.LogoUrl.empty()) {
    Image1->setFocusPolicy(Qt::TabFocus);
    Image1->setAccessibleDescription(QString::fromStdString(BookSettings.LogoUrl));
    Image1->setStyleSheet(QStringLiteral("QLabel:focus { border: 1px dotted palette(text); }"));
  }
  // 10.
  for (size_t n = 0; n < kPictureOwner.size(); ++n) {
    const std::string bitmap = book_.ReadEntry(ButtonPictureEntry(n + 1));
    if (bitmap.empty()) continue;
    const QIcon picture = ButtonPictureFromBitmap(bitmap);
    if (!picture.isNull()) SetPicture(SpeedButton[kPictureOwner[n]], picture);
  }
}

// A label shows one pixmap: the logo's is made for the ratio of the screen the window is on,
// and again when the window moves to another screen (MainWindow.cpp).
void TBB1::showLogo() {
  Image1->setPixmap(logo_.pixmap(PictureSize(logo_), Image1->devicePixelRatio()));
}

void TBB1::Image1Click() {
  if (!BookSettings.LogoUrl.empty()) ShellOpen(BookSettings.LogoUrl);
}

}  // namespace ebook
