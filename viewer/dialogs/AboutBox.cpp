#include "viewer/dialogs/AboutBox.h"

#include <algorithm>

#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTextEdit>

#include "settings/BookSettings.h"
#include "viewer/widgets/AnsiText.h"

namespace ebook {

namespace {

QFrame* Rule(QWidget* parent, int top) {
  auto* rule = new QFrame(parent);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  rule->setGeometry(8, top, 345, 11);
  return rule;
}

}  // namespace

TBB2::TBB2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setFixedSize(361, 277);
  setModal(true);
  Rule(this, 6);
  aboutms = new QTextEdit(this);
  aboutms->setGeometry(8, 8, 345, 233);
  aboutms->setReadOnly(true);
  aboutms->setFrameShape(QFrame::NoFrame);
  aboutms->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  aboutms->setLineWrapMode(QTextEdit::WidgetWidth);
  aboutms->setFocusPolicy(Qt::NoFocus);
  aboutms->viewport()->setAutoFillBackground(false);
  QFont font = aboutms->font();
  font.setPixelSize(13);
  aboutms->setFont(font);
  Rule(this, 242);
  Label1 = new QLabel(QStringLiteral("Created with Quirel eBook Compiler"), this);
  // The design size holds the caption in the design font; in another font the label grows up
  // to the close button, centred on the button's height.
  const QFontMetrics metrics = Label1->fontMetrics();
  const int footerWidth = std::clamp(metrics.horizontalAdvance(Label1->text()) + 1, 171, 270);
  const int footerHeight = std::max(13, metrics.height());
  Label1->setGeometry(13, 254 - (footerHeight - 13) / 2, footerWidth, footerHeight);
  Label1->setEnabled(false);
  Button1 = new QPushButton(QStringLiteral("Close"), this);
  Button1->setGeometry(291, 248, 57, 25);
  Button1->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, &TBB2::Button1Click);
}

void TBB2::Fill(const QString& closeCaption, const QString& title, const BookSettings& book) {
  Button1->setText(closeCaption);
  setWindowTitle(title);
  QStringList lines{QString()};
  for (const std::string* value : {&book.BookTitle, &book.BookNumber, &book.BookAuthor,
                                   &book.BookWeb, &book.BookEmail, &book.BookAbout}) {
    if (value->empty()) continue;
    lines << FromBookText(*value) << QString();
  }
  aboutms->clear();
  aboutms->setPlainText(lines.join(QLatin1Char('\n')));
  // Every line centred.
  QTextCursor cursor(aboutms->document());
  cursor.select(QTextCursor::Document);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  cursor.mergeBlockFormat(centred);
  if (parentWidget()) move(parentWidget()->geometry().center() - rect().center());
}

QStringList TBB2::lines() const { return aboutms->toPlainText().split(QLatin1Char('\n')); }

void TBB2::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TBB2::Button1Click() { accept(); }

}  // namespace ebook
