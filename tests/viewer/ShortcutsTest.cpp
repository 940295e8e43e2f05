// The keyboard: each shortcut acts as its button does, shown or not; zoom kept between runs;
// accessible names for the toolbar, panels and trees.

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <QSettings>
#include <QTest>
#include <QToolButton>
#include <QWebEnginePage>
#include <QTreeWidget>
#include <memory>

#include "TestBook.h"
#include "viewer/MainWindow.h"
#include "viewer/PrintPreview.h"
#include "viewer/WebBrowser.h"

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
  WaitUntil([&] { return !window.WebBrowser1->Busy() && Title(window) == QLatin1String(page).chopped(4); });
}

void Press(TBB1& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(&window, static_cast<Qt::Key>(key), modifiers);
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
    TBB1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    WaitUntil([&] { return !window.WebBrowser1->Busy(); });
    QVERIFY(!window.SpeedButton[1]->isVisible());
    Open(window, "one.htm");
    Open(window, "two.htm");
    WaitUntil([&] { return window.CanGoBack; });

    Press(window, Qt::Key_Left, Qt::AltModifier);
    WaitUntil([&] { return Title(window) == QLatin1String("one"); });
    WaitUntil([&] { return window.CanGoForward; });
    Press(window, Qt::Key_Right, Qt::AltModifier);
    WaitUntil([&] { return Title(window) == QLatin1String("two"); });

    Press(window, Qt::Key_Home, Qt::AltModifier);
    WaitUntil([&] { return Title(window) == QLatin1String("start"); });

    int loads = 0;
    connect(window.WebBrowser1, &WebBrowser::DocumentComplete, this, [&] { ++loads; });
    Press(window, Qt::Key_F5);
    WaitUntil([&] { return loads == 1; });

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
    WaitUntil([&] { return previews == 1; });
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
    TBB1 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.Timer1Enabled);
    Press(window, Qt::Key_Escape);
    QVERIFY(!window.Timer1Enabled);
  }

  void zoomStepsAndStaysForTheBook() {
    InstallKeyBook();
    {
      TBB1 window;
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
    TBB1 again;
    QCOMPARE(again.zoom(), 1.5);
    // Pages opened later keep it.
    Open(again, "one.htm");
    QCOMPARE(again.zoom(), 1.5);
  }

  void everyControlHasAnAccessibleName() {
    InstallKeyBook();
    TBB1 window;
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

std::unique_ptr<QObject> MakeShortcutsTest() { return std::make_unique<ShortcutsTest>(); }

#include "ShortcutsTest.moc"
