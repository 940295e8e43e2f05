// The table of contents: loading the tree, its pictures, showing a node's page, the side
// panel and the focus. Following the page and stepping through it: ContentsStepsTest.

#include <QImage>
#include <QTest>
#include <QToolButton>
#include <QWebEnginePage>
#include <memory>

#include "ContentsBook.h"
#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "contents/TocStream.h"
#include "viewer/window/MainWindow.h"
#include "viewer/widgets/PictureIcon.h"
#include "viewer/widgets/TTreeViewEx.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;
using Node = TTreeViewEx::Node;

namespace {

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
