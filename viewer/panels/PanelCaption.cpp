#include "viewer/panels/PanelCaption.h"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace ebook {

QLabel* BoldLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

QToolButton* CloseButton(QWidget* parent) {
  auto* button = new QToolButton(parent);
  QFont font = button->font();
  font.setBold(true);
  button->setFont(font);
  button->setText(QStringLiteral("X"));
  button->setAutoRaise(true);
  button->setFixedSize(20, 17);
  return button;
}

QHBoxLayout* CaptionRow(QLabel* title, QToolButton* close) {
  auto* row = new QHBoxLayout;
  row->addWidget(title);
  row->addStretch();
  row->addWidget(close);
  return row;
}

QFrame* Bevel(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace ebook
