// The search panel: the status line and result list of the search over all pages, Enter in the
// query field, a damaged page, opening a result with a click, and the find bar over the page
// shown.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QWebEngineView>
#include <memory>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "archive/BookImage.h"
#include "platform/RunningBook.h"
#include "viewer/panels/FindBar.h"
#include "viewer/window/MainWindow.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;

namespace {

// Archive order is A1, B2, C3, D4 (files of the top folder, by name).
void InstallFruitBook() {
  InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options(), "home=A1.HTM"}),
               {"A1.HTM", "<html><title>Zoo</title><body>apple</body></html>"},
               {"B2.HTM", "<title>Fruit</title><p>APPLE banana apple</p>"},
               {"C3.TXT", "an apple a day"},
               {"D4.GIF", "apple"}});
}

QStringList Captions(const TBB1& window) {
  QStringList captions;
  for (int i = 0; i < window.SearchTree->topLevelItemCount(); ++i) {
    captions << window.SearchTree->topLevelItem(i)->text(0);
  }
  return captions;
}

void Search(TBB1& window, const QString& typed) {
  window.Edit1->setText(typed);
  window.Button1Click();
  WaitForSearch(window);
}

void ClickResult(TBB1& window, int row) {
  QTreeWidgetItem* item = window.SearchTree->topLevelItem(row);
  const QPoint centre = window.SearchTree->visualItemRect(item).center();
  QTest::mouseClick(window.SearchTree->viewport(), Qt::LeftButton, {}, centre);
}

}  // namespace

class SearchTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { ClearMessages(); }

  void statusLineAndResults_data() {
    QTest::addColumn<QString>("earlier");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("captions");
    const QStringList all{"Zoo", "Fruit", "C3.TXT"};
    // clang-format off
    QTest::newRow("no hit") << "" << "zebra" << "0 Pages found" << QStringList();
    QTest::newRow("one hit, query trimmed and folded")
        << "" << "  BaNaNa " << "1 Pages found" << QStringList{"Fruit"};
    QTest::newRow("many hits in archive order") << "" << "apple" << "3 Pages found" << all;
    QTest::newRow("empty query leaves the last results")
        << "apple" << " \t " << "3 Pages found" << all;
    QTest::newRow("empty query before any search") << "" << "" << "" << QStringList();
    // clang-format on
  }
  void statusLineAndResults() {
    QFETCH(QString, earlier);
    QFETCH(QString, typed);
    QFETCH(QString, status);
    QFETCH(QStringList, captions);
    InstallFruitBook();
    TBB1 window(test::Book());
    WaitForPage(window);
    if (!earlier.isEmpty()) Search(window, earlier);
    Search(window, typed);
    QCOMPARE(window.Label3->text(), status);
    QCOMPARE(Captions(window), captions);
    QCOMPARE(window.SearchPanel->SearchPageList.size(), static_cast<size_t>(captions.size()));
    QVERIFY(Messages().empty());
  }

  void enterSearchesOnceAndKeepsTheField() {
    InstallFruitBook();
    TBB1 window(test::Book());
    WaitForPage(window);
    QTest::keyClicks(window.Edit1, QStringLiteral("apple"));
    QTest::keyClick(window.Edit1, Qt::Key_Return);
    // The search runs: its button is off and the status line says so.
    QVERIFY(!window.Button1->isEnabled());
    QCOMPARE(window.Label3->text(), QStringLiteral("Searching..."));
    // Enter again while it runs starts no second search into the same list.
    QTest::keyClick(window.Edit1, Qt::Key_Return);
    WaitForSearch(window);
    QCOMPARE(window.Edit1->text(), QStringLiteral("apple"));
    QCOMPARE(Captions(window), (QStringList{"Zoo", "Fruit", "C3.TXT"}));
    QCOMPARE(window.Label3->text(), QStringLiteral("3 Pages found"));
  }

  void damagedPageEndsTheSearchWithTheHitsSoFar() {
    InstallFruitBook();
    TBB1 window(test::Book());
    WaitForPage(window);
    InstallImage(BookImage::FromBytes(EncodeEntry("A.HTM", "<title>First</title>apple") +
                                      EncodeRawEntry("B.HTM", "not a zlib stream") +
                                      EncodeEntry("C.HTM", "apple")));
    Search(window, QStringLiteral("apple"));
    QCOMPARE(Captions(window), QStringList{"First"});
    QCOMPARE(window.Label3->text(), QStringLiteral("1 Pages found"));
    QCOMPARE(Messages().size(), size_t{1});
    QCOMPARE(Messages().front().kind, MessageKind::Error);
    QVERIFY(!Messages().front().text.isEmpty());
    // The search can run again.
    QVERIFY(window.Button1->isEnabled());
  }

  void clickOpensResultAndHighlightsTheQuery() {
    InstallFruitBook();
    TBB1 window(test::Book());
    window.show();
    WaitForPage(window);
    window.SpeedButton6Click();
    Search(window, QStringLiteral("Apple"));
    QSignalSpy navigations(window.WebBrowser1, &WebBrowser::BeforeNavigate2);

    ClickResult(window, 1);
    WaitForLocation(window, QStringLiteral("ebook://book/B2.HTM"));
    // The page shows the query's first occurrence of two; the result list keeps the keyboard.
    WaitUntil(
        [&] { return window.FindBar1 && window.FindBar1->countText() == QLatin1String("1 of 2"); },
        "the find bar to count 1 of 2");
    QCOMPARE(window.FindBar1->field()->text(), QStringLiteral("Apple"));
    QCOMPARE(window.focusWidget(), window.SearchTree);

    // Moving the selection with the keyboard opens nothing; the next click opens its page.
    QTest::keyClick(window.SearchTree, Qt::Key_Up);
    QCOMPARE(window.SearchTree->currentItem(), window.SearchTree->topLevelItem(0));
    ClickResult(window, 2);
    WaitForLocation(window, QStringLiteral("ebook://book/C3.TXT"));
    for (const QList<QVariant>& navigation : navigations) {
      QVERIFY(!navigation.at(0).toString().contains(QLatin1String("A1.HTM")));
    }
  }

  void findBarFindsAndCountsMatches() {
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options(), "home=P.HTM"}),
                 {"P.HTM", "<p>apple banana apple cherry Apple</p>"}});
    TBB1 window(test::Book());
    window.show();
    WaitForPage(window);
    // Ctrl+F opens the bar also while the page holds the keyboard.
    QWidget* page = window.WebBrowser1->engineView()->focusProxy();
    QTest::keyClick(page ? page : window.WebBrowser1->engineView(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(window.FindBar1 && window.FindBar1->isVisible());
    FindBar& bar = *window.FindBar1;
    const auto waitForCount = [&](const char* count) {
      const std::string what = std::string("the find bar to count ") + count;
      WaitUntil([&] { return bar.countText() == QLatin1String(count); }, what.c_str());
    };

    QTest::keyClicks(bar.field(), QStringLiteral("apple"));
    waitForCount("1 of 3");
    QTest::keyClick(bar.field(), Qt::Key_Return);
    waitForCount("2 of 3");
    QTest::keyClick(bar.field(), Qt::Key_Return, Qt::ShiftModifier);
    waitForCount("1 of 3");
    bar.findPrevious();  // from the first match round to the last
    waitForCount("3 of 3");
    QTest::keyClicks(bar.field(), QStringLiteral("zzz"));
    waitForCount("0 of 0");

    QTest::keyClick(bar.field(), Qt::Key_Escape);
    QVERIFY(!bar.isVisible());
    // Button2 opens it again with the last text.
    window.Button2->click();
    QVERIFY(bar.isVisible());
    QCOMPARE(bar.field()->text(), QStringLiteral("applezzz"));

    // Keyboard only: Tab goes on from the field to Previous and Next, Space presses the button
    // that has the keyboard, Escape there closes the bar and gives the keyboard to the page.
    QVERIFY(QTest::qWaitForWindowActive(&window));
    bar.open(QStringLiteral("apple"));
    waitForCount("1 of 3");
    QTest::keyClick(bar.field(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->accessibleName(), QStringLiteral("Next"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    waitForCount("2 of 3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!bar.isVisible());
    QVERIFY(window.WebBrowser1->isAncestorOf(QApplication::focusWidget()));
  }
};

#include "SearchTest.moc"

EBOOK_VIEWER_TEST(SearchTest);
