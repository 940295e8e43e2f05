#pragma once
// The window of the installed viewer started without a book: what the program is, a button
// that opens a book file with a file dialog, and the books opened last. Choosing a book asks
// the program entry to show it (bookChosen); the window itself shows no book.

#include <QString>
#include <QWidget>

class QListWidget;
class QPushButton;
class QLabel;

namespace ebook {

class WelcomeWindow : public QWidget {
  Q_OBJECT
 public:
  // `problem`: shown above the button when not empty (a file given that is not a book).
  explicit WelcomeWindow(const QString& problem = {}, QWidget* parent = nullptr);

  QLabel* Intro = nullptr;
  QLabel* Problem = nullptr;
  QPushButton* OpenButton = nullptr;
  QLabel* RecentLabel = nullptr;
  QListWidget* RecentList = nullptr;  // item data: the book file's path

  void OpenButtonClick();

 signals:
  void bookChosen(const QString& path);

 private:
  void RecentListActivated();
};

}  // namespace ebook
