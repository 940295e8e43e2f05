// The contents follow the page shown and step through the book: sync, Next and Back in
// depth-first order from the node of the page shown, Home in contents order, links within a
// page, empty contents, the contents order's start and auto-advance.

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "ContentsBook.h"
#include "contents/TocPage.h"
#include "contents/TocStream.h"
#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "viewer/browser/WebBrowser.h"
#include "viewer/window/MainWindow.h"

using namespace ebook;
using namespace ebook::test;
using Node = TTreeViewEx::Node;

class ContentsStepsTest : public QObject {
  Q_OBJECT

 private slots:
  void syncFollowsThePageShown_data() {
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("shown");    // TocTarget as the navigation handler leaves it
    QTest::addColumn<bool>("tempFolder");  // the book in file:///tmp/TMP12-34/
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("changes");
    QTest::newRow("in-page link") << "Cover"
                                  << "APPENDIX.HTM" << false << "Appendix" << 1;
    QTest::newRow("page no node names") << "Cover"
                                        << "OTHER.HTM" << false << "Cover" << 0;
    QTest::newRow("two nodes, later wins") << "Cover"
                                           << "CH1.HTM" << false << "Again" << 2;
    QTest::newRow("selected node names it") << "Chapter 1"
                                            << "CH1.HTM" << false << "Chapter 1" << 0;
    QTest::newRow("same fragment") << "Cover"
                                   << "CH1.HTM#S" << false << "Section" << 1;
    QTest::newRow("other fragment") << "Cover"
                                    << "CH1.HTM#T" << false << "Cover" << 0;
    QTest::newRow("query") << "Cover"
                           << "CH2.HTM?X" << false << "Cover" << 0;
    QTest::newRow("trimmed name") << "Cover"
                                  << "CH2.HTM" << false << "Chapter 2" << 1;
    QTest::newRow("lower case is not the page shown") << "Cover"
                                                      << "ch2.htm" << false << "Cover" << 0;
    QTest::newRow("subfolder named like a folder") << "Cover"
                                                   << "MP12-34/CH2.HTM" << false << "Cover" << 0;
    QTest::newRow("temp folder") << "Cover"
                                 << "MP12-34/CH2.HTM" << true << "Chapter 2" << 1;
    QTest::newRow("temp folder, other spelling")
        << "Cover"
        << "\\TEMP\\TMP12-34\\APPENDIX.HTM" << true << "Appendix" << 1;
    QTest::newRow("temp folder, outside the book") << "Cover"
                                                   << "TTPS://EXAMPLE.COM/" << true << "Cover" << 0;
    QTest::newRow("nothing selected") << ""
                                      << "APPENDIX.HTM" << false << "" << 0;
  }
  void syncFollowsThePageShown() {
    QFETCH(QString, selected);
    QFETCH(QString, shown);
    QFETCH(bool, tempFolder);
    QFETCH(QString, expected);
    QFETCH(int, changes);
    InstallContentsBook(Stream(kContents));
    TBB1 window(test::Book());
    if (tempFolder) {
      window.ProtocolMode = false;
      window.BookBaseUrl = QStringLiteral("file:///tmp/TMP12-34/");
    }
    if (!selected.isEmpty()) window.TOCtree->Select(Find(window, selected));
    window.TocTarget = shown.toStdString();
    QSignalSpy spy(window.TOCtree, &TTreeViewEx::OnChange);
    window.listaSync();
    window.ProtocolMode = true;
    QCOMPARE(SelectedCaption(window), expected);
    QCOMPARE(spy.count(), changes);
  }

  void nextAndBackWalkTheTreeAndWrap() {
    InstallContentsBook(Stream(kContents));
    {
      TBB1 window(test::Book());
      window.listaBack();  // no selection: the first node, then back to the last
      QCOMPARE(SelectedCaption(window), QStringLiteral("Again"));
    }
    TBB1 window(test::Book());
    QStringList forward;
    for (int i = 0; i < kOrder.size(); ++i) {
      window.listaNext();  // no selection at first: the first node, then on to the second
      forward << SelectedCaption(window);
      window.TocTarget = ComparablePageName(TocPageName(window.TOCtree->Selected()->Data));
    }
    QCOMPARE(forward, kOrder.mid(1) + kOrder.mid(0, 1));
    // Collapsed nodes were opened on the way, so that the selection can be seen.
    QVERIFY(Find(window, "Part one")->isExpanded());
    QVERIFY(Find(window, "Chapter 1")->isExpanded());

    QStringList backward;
    for (int i = 0; i < kOrder.size(); ++i) {
      window.listaBack();  // from the first node to the last
      backward << SelectedCaption(window);
      window.TocTarget = ComparablePageName(TocPageName(window.TOCtree->Selected()->Data));
    }
    QCOMPARE(backward, QStringList(kOrder.rbegin(), kOrder.rend()));
    WaitForLocation(window, "ebook://book/cover.htm");
  }

  void stepsContinueFromTheNodeOfThePageShown_data() {
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("shownBefore");  // TocTarget when the node is selected
    QTest::addColumn<QString>("shownAfter");   // TocTarget when the step is taken
    QTest::addColumn<bool>("next");
    QTest::addColumn<QString>("expected");
    QTest::newRow("collapsed node's first child") << "Part one"
                                                  << "COVER.HTM"
                                                  << "COVER.HTM" << true << "Chapter 1";
    QTest::newRow("back from a node without a page") << "Part one"
                                                     << "COVER.HTM"
                                                     << "COVER.HTM" << false << "Cover";
    QTest::newRow("node without a page, then an in-page link") << "Part one"
                                                               << "COVER.HTM"
                                                               << "APPENDIX.HTM" << true << "Again";
    QTest::newRow("back into a collapsed sibling") << "Appendix"
                                                   << ""
                                                   << "APPENDIX.HTM" << false << "Chapter 2";
    QTest::newRow("back to the parent") << "Chapter 1"
                                        << ""
                                        << "CH1.HTM" << false << "Part one";
    QTest::newRow("in-page link, then next") << "Cover"
                                             << ""
                                             << "CH2.HTM" << true << "Appendix";
    QTest::newRow("unlisted page, then next") << "Cover"
                                              << ""
                                              << "OTHER.HTM" << true << "Part one";
    QTest::newRow("unlisted page, then back") << "Section"
                                              << ""
                                              << "OTHER.HTM" << false << "Chapter 1";
  }
  void stepsContinueFromTheNodeOfThePageShown() {
    QFETCH(QString, selected);
    QFETCH(QString, shownBefore);
    QFETCH(QString, shownAfter);
    QFETCH(bool, next);
    QFETCH(QString, expected);
    InstallContentsBook(Stream(kContents));
    TBB1 window(test::Book());
    window.TocTarget = shownBefore.toStdString();
    window.TOCtree->Select(Find(window, selected));
    Find(window, "Part one")->setExpanded(false);
    window.TocTarget = shownAfter.toStdString();
    next ? window.listaNext() : window.listaBack();
    QCOMPARE(SelectedCaption(window), expected);
  }

  void homeInContentsOrder_data() {
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("changes");
    QTest::newRow("first node already selected") << "Cover"
                                                 << "COVER.HTM" << 0;
    QTest::newRow("from another node") << "Chapter 2"
                                       << "CH2.HTM" << 1;
    QTest::newRow("after an in-page link") << "Cover"
                                           << "APPENDIX.HTM" << 2;
  }
  void homeInContentsOrder() {
    QFETCH(QString, selected);
    QFETCH(QString, shown);
    QFETCH(int, changes);
    InstallContentsBook(Stream(kContents), {{19, '1'}});
    TBB1 window(test::Book());
    WaitForLocation(window, "ebook://book/cover.htm");
    window.TOCtree->Select(Find(window, selected));
    window.TocTarget = shown.toStdString();
    QSignalSpy spy(window.TOCtree, &TTreeViewEx::OnChange);
    window.SpeedButton4Click();
    QCOMPARE(SelectedCaption(window), QStringLiteral("Cover"));
    QCOMPARE(spy.count(), changes);
    WaitForLocation(window, "ebook://book/cover.htm");
  }

  void pageOfAnInPageLinkIsFollowed() {
    InstallContentsBook(Stream(kContents), {{19, '1'}});
    TBB1 window(test::Book());
    WaitForLocation(window, "ebook://book/cover.htm");
    RunScript(window.WebBrowser1->Document(), "location.href = 'appendix.htm'");
    WaitForLocation(window, "ebook://book/appendix.htm");
    QCOMPARE(window.TocTarget, std::string("APPENDIX.HTM"));
    window.SpeedButton2Click();  // Next: from the node of the page shown
    QCOMPARE(SelectedCaption(window), QStringLiteral("Again"));
    WaitForLocation(window, "ebook://book/ch1.htm");
  }

  void emptyContentsDoNothing_data() {
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QString>("useToc");
    QTest::newRow("contents not loaded")
        << QByteArray::fromStdString(Stream(kContents)) << "UseTOC=0";
    QTest::newRow("no nodes") << QByteArray(4, '\0') << "UseTOC=1";
  }
  void emptyContentsDoNothing() {
    QFETCH(QByteArray, stream);
    QFETCH(QString, useToc);
    InstallContentsBook(stream.toStdString(), {{19, '1'}, {26, '1'}},
                        {useToc.toStdString(), "[cNav]", "interval=1"});
    TBB1 window(test::Book());
    QCOMPARE(window.TOCtree->topLevelItemCount(), 0);
    window.TocTarget = "COVER.HTM";
    window.listaNext();
    window.listaBack();
    window.listaSync();
    window.Timer1Timer();
    window.SpeedButton4Click();  // Home
    QVERIFY(!window.TOCtree->Selected());
    QVERIFY(!window.WebBrowser1->Busy());
    QVERIFY(!window.WebBrowser1->Document());
    QVERIFY(window.StartAddress.isEmpty());
  }

  void contentsOrderStartAndAutoAdvance() {
    InstallContentsBook(Stream(kContents), {{19, '1'}, {26, '1'}},
                        {"UseTOC=1", "[cNav]", "interval=1"});
    TBB1 window(test::Book(), QStringLiteral("ch2.htm"));  // the first node instead of any start address
    QCOMPARE(SelectedCaption(window), QStringLiteral("Cover"));
    QVERIFY(window.StartAddress.isEmpty());
    QElapsedTimer clock;
    clock.start();
    for (const char* caption : {"Part one", "Chapter 1"}) {
      const std::string what = std::string("the contents panel to select ") + caption;
      WaitUntil([&] { return SelectedCaption(window) == QLatin1String(caption); }, what.c_str());
      QVERIFY2(clock.restart() >= 900, caption);  // one step a second
    }
    window.show();
    window.close();
    QVERIFY(!window.Timer1->isActive());
    QTest::qWait(1500);
    QCOMPARE(SelectedCaption(window), QStringLiteral("Chapter 1"));
    WaitForLocation(window, "ebook://book/ch1.htm");
  }
};

#include "ContentsStepsTest.moc"

EBOOK_VIEWER_TEST(ContentsStepsTest);
