#include "viewer/panels/FindBar.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QWebEngineFindTextResult>
#include <QWebEngineView>

namespace ebook {

namespace {

// Tab reaches the buttons, but a click leaves the keyboard in the field, so typing goes on
// (a tool button takes the keyboard from Tab only).
QToolButton* BarButton(Qt::ArrowType arrow, const QString& tip, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setToolTip(tip);
  button->setAccessibleName(tip);
  button->setAutoRaise(true);
  return button;
}

}  // namespace

FindBar::FindBar(QWebEngineView* view, QWidget* host)
    : QFrame(host),
      view_(view),
      field_(new QLineEdit(this)),
      previous_(BarButton(Qt::UpArrow, QStringLiteral("Previous"), this)),
      next_(BarButton(Qt::DownArrow, QStringLiteral("Next"), this)),
      count_(new QLabel(this)),
      close_(new QToolButton(this)) {
  setFrameShape(QFrame::StyledPanel);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  field_->setFixedWidth(200);
  field_->setClearButtonEnabled(true);
  field_->setAccessibleName(QStringLiteral("Find in page"));
  count_->setMinimumWidth(60);
  close_->setText(QStringLiteral("X"));
  close_->setToolTip(QStringLiteral("Close"));
  close_->setAccessibleName(QStringLiteral("Close"));
  close_->setAutoRaise(true);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(2);
  row->addWidget(field_);
  row->addWidget(previous_);
  row->addWidget(next_);
  row->addWidget(count_);
  row->addStretch();
  row->addWidget(close_);

  // Each change of the text starts over from the top of the page.
  connect(field_, &QLineEdit::textEdited, this, [this] { find({}); });
  connect(previous_, &QToolButton::clicked, this, &FindBar::findPrevious);
  connect(next_, &QToolButton::clicked, this, &FindBar::findNext);
  connect(close_, &QToolButton::clicked, this, &FindBar::dismiss);
  // A new page has no highlight, so an earlier count would be wrong for it.
  connect(view_, &QWebEngineView::loadStarted, this, [this] { count_->clear(); });
  field_->installEventFilter(this);
  // A strip above the page rather than over it, so that no match hides under the bar.
  if (auto* column = qobject_cast<QBoxLayout*>(host->layout())) column->insertWidget(0, this);
  hide();
}

void FindBar::open(const QString& text, bool takeFocus) {
  if (!text.isEmpty()) field_->setText(text);
  show();
  if (takeFocus) {
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
  }
  // Looked up again also when the text stayed: the page may have changed since.
  if (!field_->text().isEmpty()) find({});
}

void FindBar::dismiss() {
  const bool hadFocus = isAncestorOf(QApplication::focusWidget());
  hide();
  view_->findText(QString());
  count_->clear();
  if (hadFocus) view_->setFocus(Qt::OtherFocusReason);
}

void FindBar::findNext() { find({}); }

void FindBar::findPrevious() { find(QWebEnginePage::FindBackward); }

QString FindBar::countText() const { return count_->text(); }

void FindBar::find(QWebEnginePage::FindFlags flags) {
  const QString text = field_->text();
  if (text.isEmpty()) {
    view_->findText(QString());
    count_->clear();
    return;
  }
  // The answer may come after the bar is gone or the text has changed again; only the answer
  // for the text still in the field is shown.
  QPointer<FindBar> self(this);
  view_->findText(text, flags, [self, text](const QWebEngineFindTextResult& result) {
    if (self && self->field_->text() == text) {
      self->showCount(result.activeMatch(), result.numberOfMatches());
    }
  });
}

void FindBar::showCount(int active, int total) {
  count_->setText(QStringLiteral("%1 of %2").arg(active).arg(total));
  emit counted(active, total);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (key->modifiers() & Qt::ShiftModifier) {
        findPrevious();
      } else {
        findNext();
      }
      return true;
    }
  }
  return QFrame::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent* event) {
  // Keys the field and buttons leave alone come here, Escape among them.
  if (event->key() == Qt::Key_Escape) {
    dismiss();
    return;
  }
  QFrame::keyPressEvent(event);
}

}  // namespace ebook
