#pragma once
// TBB2, the About box (instance BB2): the book's title, identifier, author, web address,
// e-mail address and about text, centred in a read-only text box. Created once, hidden,
// after the main window and filled anew at every showing. Its title and close button take
// their texts from the main window, which has them from the book's settings.

#include <QDialog>

class QLabel;
class QPushButton;
class QTextEdit;

namespace ebook {

struct BookSettings;

class TBB2 : public QDialog {
  Q_OBJECT
 public:
  explicit TBB2(QWidget* parent = nullptr);

  QTextEdit* aboutms;
  QLabel* Label1;
  QPushButton* Button1;

  // Close button caption, box title, then the book's values: an empty line, then each
  // non-empty value followed by an empty line.
  void Fill(const QString& closeCaption, const QString& title, const BookSettings& book);
  // The lines of aboutms, as shown.
  QStringList lines() const;

 protected:
  // The close button is no cancel button: Escape does not close the box.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Button1Click();
};

}  // namespace ebook
