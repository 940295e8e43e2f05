// TBB1: the keyboard, zoom and accessible names. Every shortcut acts as its button does, whether
// or not the book shows that button: Alt+Left / Alt+Right (Back / Next in the book's meaning),
// F5 (Reload), Escape (Stop, or closes the find bar while it has the keyboard), Alt+Home (Home),
// Ctrl+P (Print), Ctrl+Plus / Ctrl+Minus / Ctrl+0 (zoom), F11 (full screen). Ctrl+F belongs to
// the search panel's code. The zoom is kept per book beside its bookmark.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QToolButton>
#include <QTreeWidget>
#include <QWebEngineView>
#include <algorithm>
#include <array>
#include <cmath>

#include "viewer/panels/FindBar.h"
#include "viewer/window/MainWindow.h"
#include "viewer/browser/WebBrowser.h"

namespace ebook {
namespace {

// Chromium's own zoom steps, so Ctrl+Plus and Ctrl+Minus feel as in a browser.
constexpr std::array<double, 15> kZoomSteps = {0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0,
                                               1.1,  1.25, 1.5,  1.75, 2.0,  2.5, 3.0};

// What a screen reader announces for a button whose caption the book left empty.
constexpr std::array<const char*, 13> kButtonRoles = {
    "",      "Back",  "Next", "Reload", "Home",  "Stop",    "Search",
    "Print", "About", "Exit", "Close",  "Close", "Contents"};

}  // namespace

void TBB1::createShortcuts() {
  const auto add = [this](const QKeySequence& key, auto handler) {
    auto* shortcut = new QShortcut(key, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, handler);
  };
  add(QKeySequence(Qt::ALT | Qt::Key_Left), [this] { SpeedButton1Click(); });
  add(QKeySequence(Qt::ALT | Qt::Key_Right), [this] { SpeedButton2Click(); });
  add(QKeySequence(Qt::Key_F5), [this] { SpeedButton3Click(); });
  add(QKeySequence(Qt::ALT | Qt::Key_Home), [this] { SpeedButton4Click(); });
  add(QKeySequence(Qt::Key_Escape), [this] { escapePressed(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { SpeedButton7Click(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { stepZoom(+1); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { stepZoom(+1); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { stepZoom(-1); });
  add(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { setZoom(1.0); });
  add(QKeySequence(Qt::Key_F11), [this] {
    setWindowState(windowState() ^ Qt::WindowFullScreen);
  });
}

void TBB1::escapePressed() {
  // The find bar closes on Escape while it holds the keyboard; anywhere else Escape is Stop.
  QWidget* focus = QApplication::focusWidget();
  if (FindBar1 && FindBar1->isVisible() && focus && FindBar1->isAncestorOf(focus)) {
    FindBar1->dismiss();
    return;
  }
  SpeedButton5Click();
}

double TBB1::zoom() const { return WebBrowser1 ? WebBrowser1->engineView()->zoomFactor() : 1.0; }

void TBB1::setZoom(double factor) {
  if (!WebBrowser1) return;
  factor = std::clamp(factor, kZoomSteps.front(), kZoomSteps.back());
  WebBrowser1->engineView()->setZoomFactor(factor);
}

void TBB1::stepZoom(int direction) {
  const double now = zoom();
  double next = now;
  if (direction > 0) {
    const auto it = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), now + 1e-6);
    next = it == kZoomSteps.end() ? kZoomSteps.back() : *it;
  } else {
    const auto it = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), now - 1e-6);
    next = it == kZoomSteps.begin() ? kZoomSteps.front() : *(it - 1);
  }
  setZoom(next);
}

void TBB1::restoreZoom(QSettings& bookGroup) {
  bool ok = false;
  const double factor = bookGroup.value(QStringLiteral("zoom")).toDouble(&ok);
  if (ok && std::isfinite(factor)) setZoom(factor);
}

void TBB1::saveZoom(QSettings& bookGroup) const {
  if (std::abs(zoom() - 1.0) < 1e-6) {
    bookGroup.remove(QStringLiteral("zoom"));
  } else {
    bookGroup.setValue(QStringLiteral("zoom"), zoom());
  }
}

void TBB1::setAccessibleNames() {
  for (size_t i = 1; i < SpeedButton.size(); ++i) {
    if (!SpeedButton[i]) continue;
    // The panels' close buttons are captioned "X": their role says more.
    const QString caption = i == 10 || i == 11 ? QString() : SpeedButton[i]->text();
    SpeedButton[i]->setAccessibleName(caption.isEmpty() ? QString::fromLatin1(kButtonRoles[i])
                                                        : caption);
  }
  if (Image1) Image1->setAccessibleName(QStringLiteral("Logo"));
  // The panels are called what their titles say, in the book's language.
  const auto titleOr = [](const QLabel* title, const char* name) {
    return title && !title->text().isEmpty() ? title->text() : QString::fromLatin1(name);
  };
  if (TocPanel) TocPanel->setAccessibleName(titleOr(TocLabel, "Table of Contents"));
  if (TOCtree) TOCtree->setAccessibleName(titleOr(TocLabel, "Table of Contents"));
  if (SearchPanel) SearchPanel->setAccessibleName(titleOr(SearchLabel, "Search"));
  if (SearchTree) SearchTree->setAccessibleName(Label2 ? Label2->text() : QStringLiteral("Results"));
  if (Edit1) Edit1->setAccessibleName(Label1 ? Label1->text() : QStringLiteral("Search for"));
  // Button1 takes the Search button's caption, which the book may leave empty.
  if (Button1 && Button1->text().isEmpty()) Button1->setAccessibleName(QStringLiteral("Search"));
  if (Panel1) Panel1->setAccessibleName(QStringLiteral("Toolbar"));
  if (WebBrowser1) WebBrowser1->setAccessibleName(QStringLiteral("Page"));
}

}  // namespace ebook
