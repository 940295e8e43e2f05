// The table of contents: loading the tree, its pictures, showing a node's page, following the
// page shown, stepping in depth-first order, auto-advance, the side panel and the focus.

#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEnginePage>
#include <memory>
#include <optional>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "contents/TocPage.h"
#include "contents/TocStream.h"
#include "contents/TocText.h"
#include "viewer/window/MainWindow.h"
#include "viewer/widgets/PictureIcon.h"
#include "viewer/widgets/TTreeViewEx.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;
using Node = TTreeViewEx::Node;

namespace {

// "Part one" has no page; "Again" names the page of "Chapter 1" a second time.
const char kContents[] =
    "Cover\tcover.htm\n"
    "Part one\n"
    "  Chapter 1\tch1.htm\n"
    "    Section\tch1.htm#s\n"
    "  Chapter 2\t ch2.htm \n"
    "Appendix\tappendix.htm\n"
    "  Again\tch1.htm\n";

const QStringList kOrder = {"Cover",     "Part one", "Chapter 1", "Section",
                            "Chapter 2", "Appendix", "Again"};

void PutInt(std::string& out, int32_t value) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF));
}

// One node record: caption, level, picture indexes 5 / 6 / 7, data, child count.
std::string Record(std::string_view caption, int32_t level, std::string_view data,
                   int32_t children) {
  std::string out;
  PutInt(out, static_cast<int32_t>(caption.size()));
  out += caption;
  PutInt(out, level);
  PutInt(out, 5);
  PutInt(out, 6);
  PutInt(out, 7);
  PutInt(out, static_cast<int32_t>(data.size()));
  out += data;
  PutInt(out, children);
  return out;
}

std::string Stream(std::string_view text) { return WriteTocStream(ParseTocText(text)); }

// A book whose pages are those of kContents, each titled with its name.
void InstallContentsBook(const std::optional<std::string>& toc,
                         const std::map<size_t, char>& switches = {},
                         const std::vector<std::string>& extra = {"UseTOC=1"}) {
  std::vector<std::string> lines = {"[cSettings]", "DATA=" + Options(switches), "home=other.htm",
                                    "[PFiles]"};
  lines.insert(lines.end(), extra.begin(), extra.end());
  std::vector<BookEntry> entries{SettingsEntry(lines)};
  for (const char* page : {"cover", "ch1", "ch2", "appendix", "other"})
    entries.push_back({std::string(page) + ".htm", std::string("<title>") + page + "</title>"});
  if (toc) entries.push_back({"XTOC.QRLC", *toc});
  InstallBook(entries);
}

Node* Find(TBB1& window, const QString& caption) {
  for (Node* node : window.TOCtree->NodesInOrder())
    if (node->text(0) == caption) return node;
  return nullptr;
}

QString SelectedCaption(TBB1& window) {
  Node* node = window.TOCtree->Selected();
  return node ? node->text(0) : QString();
}

}  // namespace

class ContentsTest : public QObject {
  Q_OBJECT

 private slots:
  void loadsTreeCaptionsAndDataBlocks() {
    std::string stream;
    PutInt(stream, 2);
    stream += Record("Caf\xe9", 0, MakeTocNodeData("cafe.htm"), 2);
    stream += Record("Child", 1, "", 0);
    // Level 0 among children: top level. Its block is short, and so names no page.
    stream += Record("Escaped", 0, MakeTocNodeData("cafe.htm").substr(0, 300), 1);
    stream += Record("Its child", 3, "", 0);
    stream += Record("Last", 7, MakeTocNodeData("last.htm"), 0);  // top-level record, level 7
    InstallContentsBook(stream);
    QStringList loaded;
    TTreeViewEx tree;
    QObject::connect(&tree, &TTreeViewEx::OnNodeLoaded, [&](Node* node) {
      QCOMPARE(node->childCount(), 0);  // raised before its children are read
      loaded << node->text(0);
    });
    tree.LoadNodesFromStream(stream);
    QCOMPARE(loaded, (QStringList{"Caf\u00e9", "Child", "Escaped", "Its child", "Last"}));

    TBB1 window(test::Book());
    TTreeViewEx& toc = *window.TOCtree;
    QCOMPARE(toc.topLevelItemCount(), 3);
    QCOMPARE(toc.topLevelItem(0)->text(0), QStringLiteral("Caf\u00e9"));
    QCOMPARE(toc.topLevelItem(0)->childCount(), 1);
    QCOMPARE(toc.topLevelItem(1)->text(0), QStringLiteral("Escaped"));
    QCOMPARE(toc.topLevelItem(1)->child(0)->text(0), QStringLiteral("Its child"));
    QCOMPARE(toc.topLevelItem(2)->text(0), QStringLiteral("Last"));
    auto* first = static_cast<Node*>(toc.topLevelItem(0));
    QCOMPARE(first->Data, MakeTocNodeData("cafe.htm"));
    QCOMPARE(first->StateIndex, 6);
    // Nothing expanded, nothing selected.
    for (Node* node : toc.NodesInOrder()) QVERIFY(!node->isExpanded());
    QVERIFY(!toc.Selected());
    toc.Select(static_cast<Node*>(toc.topLevelItem(1)));
    QCOMPARE(static_cast<Node*>(toc.topLevelItem(1))->Data.size(), size_t{300});
    QCOMPARE(window.TocTarget, std::string());  // selected, but nothing to show
  }

  void savingAsksEachNodesBlockSize() {
    // Written back through OnRequestDataSize (512 for the contents), blocks come out whole:
    // the short block is padded, the missing one becomes an empty page name.
    std::string stream;
    PutInt(stream, 1);
    stream += Record("A", 0, "abc", 1);
    stream += Record("B", 1, "", 0);
    InstallContentsBook(stream);
    TBB1 window(test::Book());
    const TocTree saved = ReadTocStream(window.TOCtree->SaveNodesToStream());
    QCOMPARE(saved.nodes.size(), size_t{2});
    QCOMPARE(saved.nodes[0].data, std::string("abc") + std::string(509, '\0'));
    QCOMPARE(saved.nodes[1].data, std::string(512, '\0'));
    QCOMPARE(saved.nodes[1].parent, 0);
  }

  void damagedStreamsLoadWhatPrecedesTheDamage_data() {
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<bool>("present");
    QTest::addColumn<QStringList>("captions");
    const std::string good = Stream(kContents);
    const auto bytes = [](const std::string& s) {
      return QByteArray(s.data(), qsizetype(s.size()));
    };
    QTest::newRow("missing entry") << QByteArray() << false << QStringList();
    QTest::newRow("empty entry") << QByteArray() << true << QStringList();
    QTest::newRow("count only") << bytes(good.substr(0, 4)) << true << QStringList();
    // Cut inside the data block of "Chapter 1".
    QTest::newRow("truncated") << bytes(good.substr(0, good.find("Chapter 1") + 400)) << true
                               << QStringList{"Cover", "Part one"};
    std::string huge;
    PutInt(huge, INT32_MAX);
    huge += Record("One", 0, "", INT32_MAX) + Record("Two", 1, "", 0);
    QTest::newRow("counts beyond the data") << bytes(huge) << true << QStringList{"One", "Two"};
    std::string bigCaption;
    PutInt(bigCaption, 2);
    bigCaption += Record("One", 0, "", 0);
    PutInt(bigCaption, 0x7FFFFFF0);
    QTest::newRow("caption beyond the data") << bytes(bigCaption) << true << QStringList{"One"};
    std::string bigData = bigCaption.substr(0, bigCaption.size() - 4);
    PutInt(bigData, 3);
    bigData += "Two";
    for (int32_t field : {1, 0, 0, 0, 0x40000000}) PutInt(bigData, field);
    QTest::newRow("data beyond the data") << bytes(bigData) << true << QStringList{"One"};
    std::string negative;
    PutInt(negative, -3);
    QTest::newRow("negative count") << bytes(negative) << true << QStringList();
  }
  void damagedStreamsLoadWhatPrecedesTheDamage() {
    QFETCH(QByteArray, stream);
    QFETCH(bool, present);
    QFETCH(QStringList, captions);
    InstallContentsBook(present ? std::optional(stream.toStdString()) : std::nullopt);
    TBB1 window(test::Book());
    QStringList loaded;
    for (Node* node : window.TOCtree->NodesInOrder()) loaded << node->text(0);
    QCOMPARE(loaded, captions);
  }

  void aMillionLevelsDeep() {
    constexpr int kDepth = 1000000;
    std::string stream;
    PutInt(stream, 1);
    for (int i = 0; i < kDepth; ++i) stream += Record("", 1, "", i + 1 < kDepth ? 1 : 0);
    auto tree = std::make_unique<TTreeViewEx>();
    tree->LoadNodesFromStream(stream);
    QCOMPARE(tree->NodeCount(), kDepth);
    Node* last = tree->LastNode();
    QCOMPARE(tree->NextInOrder(last), nullptr);
    QCOMPARE(tree->PreviousInOrder(last)->childCount(), 1);
    QCOMPARE(int(tree->NodesInOrder().size()), kDepth);
    tree->LoadNodesFromStream(Stream(kContents));  // frees the deep tree
    QCOMPARE(tree->NodeCount(), int(kOrder.size()));
    QCOMPARE(tree->topLevelItemCount(), 3);
  }

  void picturesFollowTheNodesState() {
    InstallContentsBook(Stream(kContents));
    TBB1 window(test::Book());
    QCOMPARE(window.ImagesVST2.size(), 3);
    const auto picture = [&](int i) {
      return window.ImagesVST2[i].pixmap(QSize(16, 16), 1.0).toImage();
    };
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(PictureSize(window.ImagesVST2[i]), QSize(16, 16));
      for (int j = 0; j < i; ++j) QVERIFY(picture(i) != picture(j));
    }
    TTreeViewEx& toc = *window.TOCtree;
    Node* part = Find(window, "Part one");
    for (bool selected : {false, true}) {
      part->setExpanded(false);
      QCOMPARE(toc.PictureIndex(part, selected), 0);  // closed book
      part->setExpanded(true);
      QCOMPARE(toc.PictureIndex(part, selected), 1);                       // open book
      QCOMPARE(toc.PictureIndex(Find(window, "Chapter 1"), selected), 2);  // page
      QCOMPARE(toc.PictureIndex(Find(window, "Section"), selected), 2);
    }
    // The stream's own indexes (0 for all) do not count: a leaf at the top is a closed book.
    QCOMPARE(toc.PictureIndex(Find(window, "Cover"), false), 0);

    // Drawn: closed books only while all is collapsed, pages once a book is open.
    const auto drawn = [&](QRgb colour) {
      const QImage image = toc.viewport()->grab().toImage();
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < 48 * image.devicePixelRatio(); ++x)
          if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
      return false;
    };
    const QRgb titlePlate = picture(0).pixel(9, 5);
    const QRgb textLine = picture(2).pixel(6, 4);
    window.show();
    window.SpeedButton12Click();
    part->setExpanded(false);
    QVERIFY(drawn(titlePlate));
    QVERIFY(!drawn(textLine));
    part->setExpanded(true);
    QVERIFY(drawn(textLine));
  }

  void selectingANodeShowsItsTrimmedPage() {
    InstallContentsBook(Stream(kContents));
    TBB1 window(test::Book());
    window.TOCtree->Select(Find(window, "Chapter 2"));
    QCOMPARE(window.TocTarget, std::string(" ch2.htm "));  // as stored
    WaitForLocation(window, "ebook://book/ch2.htm");
    QCOMPARE(window.WebBrowser1->Document()->title(), QStringLiteral("ch2"));
    // A node without a page is selected, and the page stays.
    const std::string before = window.TocTarget;
    window.TOCtree->Select(Find(window, "Part one"));
    QCOMPARE(SelectedCaption(window), QStringLiteral("Part one"));
    QCOMPARE(window.TocTarget, before);
    QVERIFY(!window.WebBrowser1->Busy());
  }

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

  void contentButtonAndCloseButtons() {
    InstallContentsBook(Stream(kContents));
    TBB1 window(test::Book());
    window.show();
    window.TOCtree->Select(Find(window, "Section"));
    window.SearchPanel->show();
    window.Panel2->show();
    window.SpeedButton[12]->click();
    QVERIFY(window.Panel2->isVisible());
    QVERIFY(window.TocPanel->isVisible());
    QVERIFY(!window.SearchPanel->isVisible());
    window.SpeedButton[11]->click();
    QVERIFY(!window.Panel2->isVisible());
    QVERIFY(window.TocPanel->isHidden());
    QVERIFY(window.SearchPanel->isHidden());
    QCOMPARE(SelectedCaption(window), QStringLiteral("Section"));  // the tree stays as it was
    QVERIFY(Find(window, "Chapter 1")->isExpanded());
  }

  void focusGoesToTheTreeOnlyAfterTheFirstPage_data() {
    QTest::addColumn<bool>("firstDocumentDone");
    QTest::addColumn<bool>("panelOpen");
    QTest::addColumn<bool>("treeFocused");
    QTest::newRow("first page still loading") << false << true << false;
    QTest::newRow("panel open") << true << true << true;
    QTest::newRow("panel closed") << true << false << false;
  }
  void focusGoesToTheTreeOnlyAfterTheFirstPage() {
    QFETCH(bool, firstDocumentDone);
    QFETCH(bool, panelOpen);
    QFETCH(bool, treeFocused);
    InstallContentsBook(Stream(kContents));
    TBB1 window(test::Book());
    window.show();
    if (panelOpen) window.SpeedButton12Click();
    window.WebBrowser1->setFocus();
    window.FirstDocumentDone = firstDocumentDone;
    window.TOCtree->Select(Find(window, "Part one"));  // focus moves even without a page
    QCOMPARE(window.focusWidget() == window.TOCtree, treeFocused);
  }
};

#include "ContentsTest.moc"

EBOOK_VIEWER_TEST(ContentsTest);
