#pragma once
// Catches the navigations that Qt WebEngine never offers to acceptNavigationRequest.
//
// Moving to a fragment of the same document (a click on href="#DO#SHOW#hi", a script setting
// location.href = "#DO#EXIT#") is a same-document navigation: the engine only changes the
// address. A script injected into every page and frame, in a world of its own that the page's
// scripts cannot see, listens to the document's "navigate" events before they take effect:
//   - an address that carries the link-command marker "#DO#" is cancelled in the page and
//     reported, for cross-document moves too (so the engine's hook never sees them twice);
//   - any other same-document move is reported and goes ahead;
//   - every other navigation is left to acceptNavigationRequest.
// Frames hand their reports to the top frame's copy of the script, which alone holds the
// QWebChannel; a frame of another origin cannot reach it, so its commands go nowhere.
//
// A report is passed on only when the document that made it has the origin of the address it
// navigates to: a page from elsewhere cannot aim a command at the book's addresses.

#include <QObject>
#include <QString>

class QWebChannel;
class QWebEnginePage;

namespace ebook {

class LinkCatcher : public QObject {
  Q_OBJECT
 public:
  // Installs the script and the channel on `page`.
  explicit LinkCatcher(QWebEnginePage* page);

  // Called by the script: `address` is where a frame's document (at `documentAddress`) was
  // going; `mainFrame` is true for the top frame.
  Q_INVOKABLE void navigate(const QString& address, const QString& documentAddress,
                            bool mainFrame);

 signals:
  // A navigation the engine's own hook does not report, already cancelled in the page when it
  // carries a link command.
  void caught(const QString& address, bool mainFrame);

 private:
  QWebChannel* channel_;
};

}  // namespace ebook
