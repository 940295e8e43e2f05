#pragma once
// The find bar: searches the text of the page shown with the browser engine's own find, which
// highlights every match and scrolls to the active one. The engine has no find dialog, so this
// small bar opens as a strip above the page inside the browser control instead: a text field
// (matches are looked up as the reader types; Enter goes to the next match, Shift+Enter to the
// previous one), previous and next buttons, the match count "n of m" and a close button.
// Escape closes it, clears the highlight and gives the keyboard back to the page.

#include <QFrame>
#include <QString>
#include <QWebEnginePage>

class QLabel;
class QLineEdit;
class QToolButton;
class QWebEngineFindTextResult;
class QWebEngineView;

namespace ebook {

class FindBar : public QFrame {
  Q_OBJECT
 public:
  // `view` is the page's view; the bar goes at the top of `host`, the widget whose box layout
  // holds the view.
  FindBar(QWebEngineView* view, QWidget* host);

  // Shows the bar. A non-empty `text` replaces the field's text and is looked up at once.
  // With `takeFocus` the field receives the keyboard, its text selected.
  void open(const QString& text = {}, bool takeFocus = true);
  // Hides the bar, clears the highlight and gives the keyboard back to the page.
  void dismiss();
  void findNext();
  void findPrevious();

  QLineEdit* field() const { return field_; }
  // "n of m" once the engine has counted the matches of the field's text; "" while the field
  // is empty or the page has changed since.
  QString countText() const;

 signals:
  // The engine has counted the matches (also when there are none).
  void counted(int active, int total);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void find(QWebEnginePage::FindFlags flags);
  void showCount(int active, int total);

  QWebEngineView* view_;
  QLineEdit* field_;
  QToolButton* previous_;
  QToolButton* next_;
  QLabel* count_;
  QToolButton* close_;
};

}  // namespace ebook
