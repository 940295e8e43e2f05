// The keyboard: each shortcut acts as its button does, shown or not; Tab reaches every control;
// zoom kept between runs; accessible names for the toolbar, panels and trees.

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <map>
#include <memory>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "viewer/panels/FindBar.h"
#include "viewer/window/MainWindow.h"
#include "viewer/dialogs/PrintPreview.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;

namespace {

// A book whose toolbar shows no button at all: the keys must work without them.
void InstallKeyBook(bool bookmark = false) {
  InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options({{19, '0'}}), "home=start.htm",
                              "[cInfo]", "title=Keys", "enumber={9}", "[cEve]",
                              bookmark ? "bookmark=1" : "bookmark=0", "[cTool]", "BL1=Go back"}),
               {"start.htm", "<title>start</title><p>start</p>"},
               {"one.htm", "<title>one</title><p>one</p>"},
               {"two.htm", "<title>two</title><p>two</p>"}});
}

QString Title(TBB1& window) { return window.WebBrowser1->Document()->title(); }

void Open(TBB1& window, const char* page) {
  window.WebBrowser1->Navigate(window.BookBaseUrl + QLatin1String(page));
  const std::string what = std::string(page) + " to finish loading";
  WaitUntil(
      [&] {
        return !window.WebBrowser1->Busy() && Title(window) == QLatin1String(page).chopped(4);
      },
      what.c_str());
}

void Press(TBB1& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(&window, static_cast<Qt::Key>(key), modifiers);
}

bool InPage(const TBB1& window) {
  return window.WebBrowser1->isAncestorOf(QApplication::focusWidget()) &&
         !(window.FindBar1 && window.FindBar1->isAncestorOf(QApplication::focusWidget()));
}

// The widgets that hold the keyboard as Tab is pressed again and again from the page, until
// the keyboard is back in the page. The page's engine answers Tab on its own thread, so each
// press waits for the keyboard to move.
QSet<QWidget*> TabRound(TBB1& window) {
  QSet<QWidget*> visited;
  do {
    QWidget* before = QApplication::focusWidget();
    QTest::keyClick(before, Qt::Key_Tab);
    WaitUntil([&] { return QApplication::focusWidget() != before; },
              "Tab to move the keyboard to the next control");
    visited.insert(QApplication::focusWidget());
  } while (!InPage(window));
  return visited;
}

QString Names(const QList<QWidget*>& widgets) {
  QStringList names;
  for (QWidget* widget : widgets)
    names << widget->metaObject()->className() + QStringLiteral(" ") + widget->accessibleName();
  return names.join(QStringLiteral(", "));
}

}  // namespace

class ShortcutsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QUIREL eBook"))
        .remove(QString());
  }

  void keysActAsTheirButtons() {
    InstallKeyBook();
    TBB1 window(test::Book());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    WaitForPage(window);
    QVERIFY(!window.SpeedButton[1]->isVisible());
    Open(window, "one.htm");
    Open(window, "two.htm");
    WaitUntil([&] { return window.CanGoBack; }, "Back to be enabled");

    Press(window, Qt::Key_Left, Qt::AltModifier);
    WaitUntil([&] { return Title(window) == QLatin1String("one"); }, "Alt+Left to show one.htm");
    WaitUntil([&] { return window.CanGoForward; }, "Forward to be enabled");
    Press(window, Qt::Key_Right, Qt::AltModifier);
    WaitUntil([&] { return Title(window) == QLatin1String("two"); }, "Alt+Right to show two.htm");

    Press(window, Qt::Key_Home, Qt::AltModifier);
    WaitUntil([&] { return Title(window) == QLatin1String("start"); },
              "Alt+Home to show start.htm");

    int loads = 0;
    connect(window.WebBrowser1, &WebBrowser::DocumentComplete, this, [&] { ++loads; });
    Press(window, Qt::Key_F5);
    WaitUntil([&] { return loads == 1; }, "F5 to load the page again");

    int previews = 0;
    PrintPreview::SetDialogHook([&](QPrintPreviewDialog& dialog) {
      ++previews;
      // Closed once the page has been laid out into the preview.
      auto* poll = new QTimer(&dialog);
      connect(poll, &QTimer::timeout, &dialog, [&dialog] {
        auto* preview = dialog.findChild<QPrintPreviewWidget*>();
        if (preview && preview->pageCount() > 0) dialog.reject();
      });
      poll->start(10);
    });
    Press(window, Qt::Key_P, Qt::ControlModifier);
    WaitUntil([&] { return previews == 1; }, "Ctrl+P to open the print preview");
    PrintPreview::SetDialogHook({});

    // The preview had the keyboard; the window takes it back.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    Press(window, Qt::Key_F11);
    QVERIFY(window.windowState() & Qt::WindowFullScreen);
    Press(window, Qt::Key_F11);
    QVERIFY(!(window.windowState() & Qt::WindowFullScreen));
  }

  void escapeStopsAndPausesAutoAdvance() {
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options({{26, '1'}}), "home=start.htm",
                                "[cNav]", "interval=100"}),
                 {"start.htm", "<title>start</title>"}});
    TBB1 window(test::Book());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.Timer1Enabled);
    Press(window, Qt::Key_Escape);
    QVERIFY(!window.Timer1Enabled);
  }

  void zoomStepsAndStaysForTheBook() {
    InstallKeyBook();
    {
      TBB1 window(test::Book());
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      QCOMPARE(window.zoom(), 1.0);
      Press(window, Qt::Key_Plus, Qt::ControlModifier);
      QCOMPARE(window.zoom(), 1.1);
      Press(window, Qt::Key_Plus, Qt::ControlModifier);
      QCOMPARE(window.zoom(), 1.25);
      Press(window, Qt::Key_Minus, Qt::ControlModifier);
      QCOMPARE(window.zoom(), 1.1);
      Press(window, Qt::Key_0, Qt::ControlModifier);
      QCOMPARE(window.zoom(), 1.0);
      for (int i = 0; i < 30; ++i) Press(window, Qt::Key_Plus, Qt::ControlModifier);
      QCOMPARE(window.zoom(), 3.0);
      window.setZoom(1.5);
      window.close();
    }
    TBB1 again(test::Book());
    QCOMPARE(again.zoom(), 1.5);
    // Pages opened later keep it.
    Open(again, "one.htm");
    QCOMPARE(again.zoom(), 1.5);
  }

  // A reader with only a keyboard reaches every button and every control of the open side panel
  // and of the find bar with Tab from the page, and hears each one's name.
  void tabReachesEveryControl_data() {
    QTest::addColumn<bool>("searchPanel");  // else the contents panel
    QTest::newRow("contents panel") << false;
    QTest::newRow("search panel and find bar") << true;
  }
  void tabReachesEveryControl() {
    QFETCH(bool, searchPanel);
    std::map<size_t, char> all;
    for (size_t i = 0; i < 10; ++i) all[i] = '1';
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options(all), "home=start.htm",
                                "[cTool]", "logoURL=https://example.com/"}),
                 {"start.htm", "<title>start</title><p>A page without links.</p>"}});
    TBB1 window(test::Book());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    WaitForDocument(window);
    if (searchPanel) {
      window.SpeedButton6Click();
      window.Button2Click();
    } else {
      window.SpeedButton12Click();
    }
    window.focus_browser();
    WaitUntil([&] { return InPage(window); }, "the page to take the keyboard");

    QList<QWidget*> controls;
    for (QWidget* button : window.SpeedButton)
      if (button) controls << button;
    controls << window.Image1 << window.TOCtree << window.Edit1 << window.Button1 << window.Button2
             << window.SearchTree;
    if (window.FindBar1) {
      for (QWidget* child : window.FindBar1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QAbstractButton*>(child) || qobject_cast<QLineEdit*>(child))
          controls << child;
      }
    }
    controls.removeIf(
        [](QWidget* control) { return !control->isVisible() || !control->isEnabled(); });
    // Ten buttons, the logo link and the panel's close button; the tree, or the search
    // controls and the bar.
    QCOMPARE(controls.size(), searchPanel ? 20 : 13);

    const QSet<QWidget*> visited = TabRound(window);
    QList<QWidget*> missed;
    for (QWidget* control : controls)
      if (!visited.contains(control)) missed << control;
    QVERIFY2(missed.isEmpty(), qPrintable(Names(missed)));
    // Each is announced with a name as the keyboard reaches it.
    for (QWidget* control : controls) {
      QVERIFY2(!QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty(),
               qPrintable(Names({control}) + QLatin1String(" ") + control->toolTip()));
    }
  }

  void everyControlHasAnAccessibleName() {
    InstallKeyBook();
    TBB1 window(test::Book());
    QCOMPARE(window.SpeedButton[1]->accessibleName(), QStringLiteral("Go back"));
    QCOMPARE(window.SpeedButton[2]->accessibleName(), QStringLiteral("Next"));
    QCOMPARE(window.SpeedButton[12]->accessibleName(), QStringLiteral("Contents"));
    QCOMPARE(window.SpeedButton[10]->accessibleName(), QStringLiteral("Close"));
    for (int i = 1; i <= 12; ++i) QVERIFY2(!window.SpeedButton[i]->accessibleName().isEmpty(), qPrintable(QString::number(i)));
    QVERIFY(!window.TOCtree->accessibleName().isEmpty());
    QVERIFY(!window.SearchTree->accessibleName().isEmpty());
    QVERIFY(!window.WebBrowser1->accessibleName().isEmpty());
  }
};

#include "ShortcutsTest.moc"

EBOOK_VIEWER_TEST(ShortcutsTest);
