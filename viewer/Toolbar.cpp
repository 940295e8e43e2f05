// TBB1: the toolbar panel Panel1 and its buttons. The buttons stay hidden until set_toolbar
// lays them out; the panel is 50 pixels high, along the top edge (or the bottom edge).

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "viewer/MainWindow.h"

namespace ebook {

void TBB1::createToolbarPanel() {
  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(50);
  Panel1->setAutoFillBackground(true);
  for (int i = 1; i <= 12; ++i) {
    if (i == 10 || i == 11) continue;  // the side panels' close buttons
    auto* button = new QToolButton(Panel1);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setGeometry(0, 1, 57, 48);
    button->hide();
    SpeedButton[i] = button;
  }
  connect(SpeedButton[8], &QToolButton::clicked, this, &TBB1::SpeedButton8Click);
  connect(SpeedButton[9], &QToolButton::clicked, this, &TBB1::SpeedButton9Click);

  auto* row = new QHBoxLayout(Panel1);
  row->setContentsMargins(0, 0, 0, 0);
  row->addStretch();
  Image1 = new QLabel(Panel1);
  Image1->setFixedWidth(48);
  Image1->setAlignment(Qt::AlignCenter);
  Image1->setCursor(Qt::PointingHandCursor);
  row->addWidget(Image1);
  layout_->addWidget(Panel1);
}

void TBB1::putToolbarAtBottom() {
  layout_->removeWidget(Panel1);
  layout_->addWidget(Panel1);
}

void TBB1::set_toolbar(int buttonWidth, int buttonHeight) {
  // Without a toolbar nothing else of the toolbar happens.
  if (BookSettings.OptionString.is(opt::kNoToolbar, '1')) {
    Panel1->hide();
    Panel1->setEnabled(false);
    return;
  }
  // The buttons' order, pictures, colours and logo come with the toolbar's own work; for now
  // the panel is in place and the buttons keep their captions.
  (void)buttonWidth;
  (void)buttonHeight;
}

}  // namespace ebook
