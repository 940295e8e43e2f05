#pragma once
// TSplashScreen: the book's opening picture. Present when the book has the marker entry
// XSEI.QRLC, whose text is the time in whole seconds; the picture is XSE0.QRLC, a Windows
// bitmap. Borderless, on top of every window, centred, exactly the picture's size; it closes
// and destroys itself at the first timer tick delivered after its time.
//
// A marker that is no number is reported and the splash is removed at once; a negative
// number closes it at the first tick, as "0" does.

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "archive/InternalEntries.h"

namespace ebook {

class BookContent;

class TSplashScreen : public QWidget {
  Q_OBJECT
 public:
  inline static constexpr std::string_view kMarkerEntry = kSplashMarkerEntry;
  inline static constexpr std::string_view kPictureEntry = kSplashPictureEntry;

  // The program entry's part: when `book` has a marker, creates the splash, sizes it to its
  // picture, centres it, shows it and paints it at once. Returns the splash, or nullptr when
  // the book has none. Reading the marker can throw EZDecompressionError.
  static TSplashScreen* ShowIfWanted(const BookContent& book);

  QLabel* Image1;
  QTimer* Timer1;

 private:
  explicit TSplashScreen(const BookContent& book);
  void FormCreate(const BookContent& book);
  void Timer1Timer();
  // Hides the splash and lets it be destroyed once control is back in the event loop, never
  // inside its own timer's handler.
  void dismiss();
  void centreOnScreen();

  bool dismissed_ = false;
};

// The process-wide splash, while it exists.
extern QPointer<TSplashScreen> SplashScreen;

}  // namespace ebook
