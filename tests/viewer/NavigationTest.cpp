// Navigation: Back / Next / Home / Stop in their three meanings, the page recorded, the print
// preview and where the keyboard goes after a page has loaded. Link commands: LinkCommandsTest.

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "LinkBook.h"
#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "viewer/browser/WebBrowser.h"
#include "viewer/window/Application.h"
#include "viewer/window/MainWindow.h"

using namespace ebook;
using namespace ebook::test;

class NavigationTest : public QObject {
  Q_OBJECT

  PreviewWatch preview_;

 private slots:
  void init() {
    ClearMessages();
    preview_.Reset();
    Application::setTitle(QStringLiteral("eBook"));
  }

  void historyBackAndNext_data() {
    QTest::addColumn<char>("mode");  // offset 19
    QTest::addColumn<bool>("follows");
    QTest::newRow("history mode") << '0' << true;
    QTest::newRow("neither history nor contents") << '-' << false;
  }
  void historyBackAndNext() {
    QFETCH(char, mode);
    QFETCH(bool, follows);
    InstallLinkBook(Options({{19, mode}}), "other.htm");
    TBB1 window(test::Book());
    WaitForDocument(window);
    // Nothing behind the first page: Back does nothing.
    window.SpeedButton1Click();
    WaitForDocument(window);
    QCOMPARE(window.WebBrowser1->LocationURL(), kStart);
    QVERIFY(!window.CanGoBack);

    window.WebBrowser1->Navigate(kOther);
    WaitUntil([&] { return window.WebBrowser1->LocationURL() == kOther; },
              "the browser to show other.htm");
    WaitForDocument(window);
    if (follows) WaitUntil([&] { return window.CanGoBack; }, "Back to be enabled");
    QCOMPARE(window.CanGoBack, follows);
    window.SpeedButton2Click();  // nothing ahead
    window.SpeedButton1Click();
    if (follows)
      WaitUntil([&] { return window.WebBrowser1->LocationURL() == kStart; },
                "the browser to show start.htm");
    WaitForDocument(window);
    QCOMPARE(window.WebBrowser1->LocationURL(), follows ? kStart : kOther);
    if (!follows) return;
    WaitUntil([&] { return window.CanGoForward; }, "Forward to be enabled");
    window.SpeedButton2Click();
    WaitUntil([&] { return window.WebBrowser1->LocationURL() == kOther; },
              "the browser to show other.htm");
  }

  void homeShowsStartPage() {
    InstallLinkBook(Options({{19, '0'}}), "other.htm");
    TBB1 window(test::Book());
    WaitForDocument(window);
    window.WebBrowser1->Navigate(kOther);
    WaitUntil([&] { return window.WebBrowser1->LocationURL() == kOther; },
              "the browser to show other.htm");
    WaitForDocument(window);
    // The start page holds a frame, whose own navigation follows the page's: the first
    // navigation Home starts is the page's.
    QSignalSpy navigations(window.WebBrowser1, &WebBrowser::BeforeNavigate2);
    window.SpeedButton4Click();
    WaitUntil([&] { return window.WebBrowser1->LocationURL() == kStart; },
              "the browser to show start.htm");
    QVERIFY(!navigations.isEmpty());
    QCOMPARE(navigations.first().at(0).toString(), kStart);
    QVERIFY(navigations.first().at(1).toBool());
  }

  void ordinaryNavigationRecordsPage_data() {
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("target");
    QTest::newRow("another page") << "a%20b.htm" << "A B.HTM";
    QTest::newRow("fragment of the same page") << "#part2" << "START.HTM#PART2";
  }
  void ordinaryNavigationRecordsPage() {
    QFETCH(QString, href);
    QFETCH(QString, target);
    InstallLinkBook(Options(), href.toStdString());
    TBB1 window(test::Book());
    WaitForFrame(window);
    window.TocTarget.clear();
    Trigger(window, Way::FragmentLink, href);
    WaitUntil([&] { return window.TocTarget == target.toStdString(); },
              "the navigation to record its page as the contents target");
  }

  void stopPausesAndBackNextResumeAutoAdvance() {
    InstallLinkBook(Options({{26, '1'}, {19, '0'}}), "other.htm",
                    {"[cNav]", "interval=1000"});
    TBB1 window(test::Book());
    WaitForDocument(window);
    QVERIFY(window.Timer1->isActive());
    window.SpeedButton5Click();
    QVERIFY(!window.Timer1Enabled);
    QVERIFY(!window.Timer1->isActive());
    window.SpeedButton1Click();
    QVERIFY(window.Timer1->isActive());
    // Pressed while running, Next leaves the countdown alone and navigates nowhere.
    const int remaining = window.Timer1->remainingTime();
    QTest::qWait(20);
    window.SpeedButton2Click();
    QVERIFY(window.Timer1->remainingTime() < remaining);
    window.SpeedButton5Click();
    window.SpeedButton2Click();
    QVERIFY(window.Timer1->isActive());
    QCOMPARE(window.WebBrowser1->LocationURL(), kStart);
  }

  void printShowsPreviewOfPage() {
    InstallLinkBook(Options(), "other.htm");
    TBB1 window(test::Book());
    // No document yet: nothing happens.
    window.SpeedButton7Click();
    QCOMPARE(preview_.previews, 0);
    WaitForDocument(window);
    window.SpeedButton7Click();
    QCOMPARE(preview_.previews, 1);
    QVERIFY(preview_.pages >= 1);
  }

  void focusAfterDocumentComplete() {
    InstallLinkBook(Options(), "other.htm", {"[PFiles]", "UseTOCauto=1"});
    TBB1 window(test::Book());
    window.show();
    QVERIFY(window.TocPanel->isVisible());
    WaitForDocument(window);
    // The first page keeps the keyboard although the contents panel is open.
    QVERIFY(window.FirstDocumentDone);
    QVERIFY(window.WebBrowser1->isAncestorOf(window.focusWidget()));

    window.WebBrowser1->Navigate(kOther);
    WaitUntil([&] { return window.WebBrowser1->LocationURL() == kOther; },
              "the browser to show other.htm");
    WaitUntil([&] { return window.focusWidget() == window.TOCtree; },
              "the contents tree to take the keyboard");

    window.SpeedButton6Click();  // the search panel replaces the contents
    window.WebBrowser1->Navigate(kStart);
    WaitUntil([&] { return window.WebBrowser1->LocationURL() == kStart; },
              "the browser to show start.htm");
    WaitUntil([&] { return window.focusWidget() == window.SearchTree; },
              "the search results to take the keyboard");

    window.Panel2->hide();  // no side panel: the page keeps it
    window.WebBrowser1->Navigate(kOther);
    WaitUntil([&] { return window.WebBrowser1->LocationURL() == kOther; },
              "the browser to show other.htm");
    WaitUntil([&] { return window.WebBrowser1->isAncestorOf(window.focusWidget()); },
              "the page to take the keyboard");
  }
};

#include "NavigationTest.moc"

EBOOK_VIEWER_TEST(NavigationTest);
