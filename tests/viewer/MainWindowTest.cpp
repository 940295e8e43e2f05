// The main window: start address, bookmark, caption and title, size and frame, the texts it
// takes from the settings, and the start and close messages.

#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "viewer/window/Application.h"
#include "viewer/window/MainWindow.h"
#include "viewer/window/StartAddress.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;

namespace {

const char kBookKey[] = "Test Book{42}";

QSettings BookmarkStore() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QUIREL eBook"),
                   QString());
}

void SaveBookmark(const QString& address) {
  QSettings store = BookmarkStore();
  store.remove(QString());
  if (!address.isEmpty()) store.setValue(QStringLiteral("%1/bookmark").arg(kBookKey), address);
  store.sync();
}

QString SavedBookmarkValue() {
  return BookmarkStore().value(QStringLiteral("%1/bookmark").arg(kBookKey)).toString();
}

// A book with three pages and the given settings lines after the usual ones.
void InstallPagesBook(const std::string& options, std::vector<std::string> extra = {},
                      bool bookmark = true) {
  std::vector<std::string> lines = {"[cSettings]", "DATA=" + options, "home=start.htm",
                                    "[cInfo]", "title= Test Book ", "enumber={42}",
                                    "[cEve]", bookmark ? "bookmark=1" : "bookmark=0"};
  lines.insert(lines.end(), extra.begin(), extra.end());
  InstallBook({SettingsEntry(lines),
               {"start.htm", "<title>start</title>"},
               {"other.htm", "<title>other</title>"},
               {"arg page.htm", "<title>argument</title>"}});
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    ClearMessages();
    Application::setTitle(QStringLiteral("eBook"));
    SaveBookmark({});
  }

  void startAddressRules_data() {
    QTest::addColumn<bool>("bookmarkEnabled");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");
    const QString other = QStringLiteral("ebook://book/other.htm");
    QTest::newRow("start page") << true << "" << "" << "ebook://book/start.htm";
    QTest::newRow("bookmark beats start page") << true << other << "" << other;
    QTest::newRow("argument beats bookmark")
        << true << other << "arg%20page.htm" << "ebook://book/arg%20page.htm";
    QTest::newRow("bookmarking off ignores saved bookmark")
        << false << other << "" << "ebook://book/start.htm";
  }
  void startAddressRules() {
    QFETCH(bool, bookmarkEnabled);
    QFETCH(QString, saved);
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    InstallPagesBook(Options(), {}, bookmarkEnabled);
    SaveBookmark(saved);
    TBB1 window(test::Book(), argument);
    QCOMPARE(window.StartAddress, expected);
    WaitForPage(window);
    QCOMPARE(window.WebBrowser1->LocationURL(), expected);
  }

  void chooseStartAddressTakesArgumentAsWritten() {
    QCOMPARE(ChooseStartAddress({"ebook://book/", "a.htm", true, "x://saved", "sub/b c.htm"}),
             QStringLiteral("ebook://book/sub/b c.htm"));
  }

  void bookmarkSavedAtCloseAndUsedAtNextStart() {
    InstallPagesBook(Options());
    {
      TBB1 first(test::Book());
      WaitForPage(first);
      first.WebBrowser1->Navigate(QStringLiteral("ebook://book/other.htm"));
      WaitUntil(
          [&] {
            return first.WebBrowser1->LocationURL().endsWith(QLatin1String("other.htm")) &&
                   !first.WebBrowser1->Busy();
          },
          "other.htm to finish loading");
      first.show();
      first.close();
    }
    QCOMPARE(SavedBookmarkValue(), QStringLiteral("ebook://book/other.htm"));
    TBB1 second(test::Book());
    QCOMPARE(second.StartAddress, QStringLiteral("ebook://book/other.htm"));
  }

  void bookmarkingOffLeavesStoreUntouched() {
    InstallPagesBook(Options(), {}, false);
    SaveBookmark(QStringLiteral("ebook://book/earlier.htm"));
    TBB1 window(test::Book());
    WaitForPage(window);
    window.show();
    window.close();
    QCOMPARE(SavedBookmarkValue(), QStringLiteral("ebook://book/earlier.htm"));
  }

  void captionAndTitle_data() {
    QTest::addColumn<QByteArray>("titleLine");
    QTest::addColumn<QString>("caption");
    QTest::newRow("book title") << QByteArray("title=  My Book  ") << "My Book";
    QTest::newRow("ANSI title") << QByteArray("title=Caf\xE9") << "Caf\u00e9";
    QTest::newRow("empty title keeps eBook") << QByteArray("title=") << "eBook";
    QTest::newRow("no title key") << QByteArray() << "QUIREL eBook";
  }
  void captionAndTitle() {
    QFETCH(QByteArray, titleLine);
    QFETCH(QString, caption);
    InstallBook({SettingsEntry({"[cInfo]", titleLine.toStdString()})});
    TBB1 window(test::Book());
    QCOMPARE(window.windowTitle(), caption);
    QCOMPARE(Application::title(), caption);
  }

  void frameSwitches_data() {
    QTest::addColumn<QString>("border");  // offsets 28 to 32
    QTest::addColumn<bool>("frameless");
    QTest::addColumn<bool>("tool");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<bool>("minimizeButton");
    QTest::addColumn<bool>("maximizeButton");
    QTest::addColumn<bool>("systemMenu");
    QTest::addColumn<int>("state");
    QTest::newRow("no border") << "01000" << true << false << false << false << false << false << 0;
    QTest::newRow("fixed single") << "1-111" << false << false << true << true << true << true << 0;
    QTest::newRow("sizeable, no minimize")
        << "2-011" << false << false << false << false << true << true << 0;
    QTest::newRow("sizeable, no maximize")
        << "2-101" << false << false << false << true << false << true << 0;
    QTest::newRow("no system menu, no buttons")
        << "2-110" << false << false << false << false << false << false << 0;
    QTest::newRow("starts minimized") << "21111" << false << false << false << true << true
                                      << true << int(Qt::WindowMinimized);
    QTest::newRow("starts maximized") << "22111" << false << false << false << true << true
                                      << true << int(Qt::WindowMaximized);
    QTest::newRow("fixed tool window ignores 29-32")
        << "32000" << false << true << true << false << false << false << 0;
    QTest::newRow("sizeable tool window")
        << "4----" << false << true << false << false << false << false << 0;
  }
  void frameSwitches() {
    QFETCH(QString, border);
    QFETCH(bool, frameless);
    QFETCH(bool, tool);
    QFETCH(bool, fixed);
    QFETCH(bool, minimizeButton);
    QFETCH(bool, maximizeButton);
    QFETCH(bool, systemMenu);
    QFETCH(int, state);
    std::map<size_t, char> switches;
    for (int i = 0; i < 5; ++i) switches[28 + i] = border[i].toLatin1();
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options(switches)})});
    TBB1 window(test::Book());
    const Qt::WindowFlags flags = window.windowFlags();
    QCOMPARE(flags.testFlag(Qt::FramelessWindowHint), frameless);
    QCOMPARE(window.windowType() == Qt::Tool, tool);
    QCOMPARE(window.minimumSize() == window.maximumSize(), fixed);
    if (!frameless && !tool) {
      QCOMPARE(flags.testFlag(Qt::WindowMinimizeButtonHint), minimizeButton);
      QCOMPARE(flags.testFlag(Qt::WindowMaximizeButtonHint), maximizeButton);
      QCOMPARE(flags.testFlag(Qt::WindowSystemMenuHint), systemMenu);
    }
    QCOMPARE(int(window.windowState()), state);
  }

  void sizeAndCentring() {
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options({{28, '2'}, {29, '0'}}),
                                "[cEve]", "width=$320", "height=500"})});
    TBB1 window(test::Book());
    window.show();
    QCOMPARE(window.frameGeometry().size(), QSize(800, 500));
    const QRect screen = window.screen()->geometry();
    QCOMPARE(window.frameGeometry().center().x(), screen.center().x());
  }

  void textsFromSettings() {
    InstallBook({SettingsEntry({"[cTool]", "BL1=Back", "BL6=Find", "BL8=Info", "BL10=Tenth",
                                "[search]", "1=Current page:", "4=Found:", "5=Shut"})});
    TBB1 window(test::Book());
    QCOMPARE(window.SpeedButton[1]->text(), QStringLiteral("Back"));
    QCOMPARE(window.SpeedButton[2]->text(), QString());
    QCOMPARE(window.SpeedButton[12]->text(), QStringLiteral("Tenth"));
    QCOMPARE(window.Button1->text(), QStringLiteral("Find"));
    QCOMPARE(window.Label4->text(), QStringLiteral("Current page:"));
    QCOMPARE(window.Button2->text(), QStringLiteral("Search this page"));
    QCOMPARE(window.Label2->text(), QStringLiteral("Found:"));
    QCOMPARE(window.SpeedButton[10]->toolTip(), QStringLiteral("Shut"));
  }

  void toolbarPlacement() {
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options({{33, '1'}})})});
    TBB1 bottom(test::Book());
    bottom.show();
    QVERIFY(bottom.Panel1->isVisible());
    QCOMPARE(bottom.Panel1->height(), 51);  // the default button height 45 + 6
    QVERIFY(bottom.Panel1->y() > bottom.Splitter1->y());

    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options({{18, '1'}})})});
    TBB1 none(test::Book());
    none.show();
    QVERIFY(!none.Panel1->isVisible());
    QVERIFY(!none.Panel1->isEnabled());
  }

  void contentsPanelAtStart() {
    InstallBook({SettingsEntry({"[PFiles]", "UseTOCauto=1"})});
    TBB1 window(test::Book());
    window.show();
    QVERIFY(window.Panel2->isVisible());
    QVERIFY(window.TocPanel->isVisible());
    QVERIFY(!window.SearchPanel->isVisible());
  }

  void autoAdvanceTimer_data() {
    QTest::addColumn<QString>("interval");
    QTest::addColumn<bool>("running");
    QTest::newRow("every 3 s") << "interval=3" << true;
    QTest::newRow("no interval never fires") << "" << false;
  }
  void autoAdvanceTimer() {
    QFETCH(QString, interval);
    QFETCH(bool, running);
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options({{26, '1'}}), "[cNav]",
                                interval.toStdString()})});
    TBB1 window(test::Book());
    QVERIFY(window.Timer1Enabled);
    QCOMPARE(window.Timer1->isActive(), running);
    if (running) QCOMPARE(window.Timer1->interval(), 3000);
    window.show();
    window.close();
    QVERIFY(!window.Timer1->isActive());
  }

  void startAndCloseMessages() {
    InstallPagesBook(Options(), {"start=Welcome", "close=Goodbye"});
    bool visibleAtStartMessage = true;
    QString bookmarkAtCloseMessage;
    RecordMessages([&](const RecordedMessage& message) {
      if (message.text == QLatin1String("Welcome")) {
        visibleAtStartMessage = false;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
          if (qobject_cast<TBB1*>(widget) && widget->isVisible()) visibleAtStartMessage = true;
        }
      }
      if (message.text == QLatin1String("Goodbye")) bookmarkAtCloseMessage = SavedBookmarkValue();
    });
    TBB1 window(test::Book());
    WaitForPage(window);
    window.show();
    window.close();
    RecordMessages();
    QCOMPARE(Messages().size(), size_t{2});
    QCOMPARE(Messages()[0].text, QStringLiteral("Welcome"));
    QCOMPARE(Messages()[0].caption, QStringLiteral("Test Book"));
    QVERIFY(!visibleAtStartMessage);
    QCOMPARE(bookmarkAtCloseMessage, QStringLiteral("ebook://book/start.htm"));
  }
};

#include "MainWindowTest.moc"

EBOOK_VIEWER_TEST(MainWindowTest);
