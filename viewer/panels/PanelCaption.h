#pragma once
// The pieces both side panels are built from: the caption row (a bold title left, an "X" close
// button right) and the sunken line under it and between a panel's groups.

class QFrame;
class QHBoxLayout;
class QLabel;
class QString;
class QToolButton;
class QWidget;

namespace ebook {

QLabel* BoldLabel(const QString& text, QWidget* parent);
QToolButton* CloseButton(QWidget* parent);
// A caption row of a side panel: `title` left, `close` right.
QHBoxLayout* CaptionRow(QLabel* title, QToolButton* close);
QFrame* Bevel(QWidget* parent);

}  // namespace ebook
