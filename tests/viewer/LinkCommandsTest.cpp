// Link commands: from every kind of link, their grammar as the reader sees it, in temp-folder
// mode, files opened whatever their case, a book shown by the installed viewer, and commands
// refused outside the book.

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <fstream>
#include <unistd.h>

#include "LinkBook.h"
#include "support/window/OpenedTargets.h"
#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "platform/RunningBook.h"
#include "platform/Shell.h"
#include "viewer/browser/WebBrowser.h"
#include "viewer/window/Application.h"
#include "viewer/window/MainWindow.h"

using namespace ebook;
using namespace ebook::test;

class LinkCommandsTest : public QObject {
  Q_OBJECT

  OpenedTargets opened_;
  PreviewWatch preview_;

 private slots:
  void init() {
    ClearMessages();
    opened_.targets.clear();
    preview_.Reset();
    Application::setTitle(QStringLiteral("eBook"));
  }

  void everyCommandFromEveryKindOfLink_data() {
    QTest::addColumn<int>("way");
    QTest::addColumn<QString>("command");
    const std::pair<const char*, Way> ways[] = {{"link to another page", Way::Link},
                                                {"fragment-only link", Way::FragmentLink},
                                                {"script assignment", Way::Script},
                                                {"link in a frame", Way::FrameLink},
                                                {"script in a frame", Way::FrameScript}};
    for (const auto& [name, way] : ways) {
      for (const char* command : {"SHOW#hi", "OPEN#/some/file.pdf", "EXIT#", "QUIT#", "FIND#",
                                  "TOC1#", "PRIN#"}) {
        QTest::addRow("%s %s", command, name) << int(way) << QString::fromLatin1(command);
      }
    }
  }
  void everyCommandFromEveryKindOfLink() {
    QFETCH(int, way);
    QFETCH(QString, command);
    const QString href = (Way(way) == Way::Link ? QStringLiteral("other.htm") : QString()) +
                         QStringLiteral("#DO#") + command;
    InstallLinkBook(Options(), href.toStdString());
    TBB1 window(test::Book());
    QSignalSpy closed(&window, &TBB1::closed);
    window.show();
    WaitForFrame(window);
    const QString before = PageAddress(window);

    Trigger(window, Way(way), href);
    const QString word = command.left(5);
    if (word == QLatin1String("SHOW#")) {
      WaitUntil([] { return !Messages().empty(); }, "the SHOW command to show its message");
    } else if (word == QLatin1String("OPEN#")) {
      WaitUntil([&] { return !opened_.targets.empty(); }, "the OPEN command to open its address");
    } else if (word == QLatin1String("EXIT#") || word == QLatin1String("QUIT#")) {
      WaitUntil([&] { return !closed.isEmpty(); }, "the window to close");
      QVERIFY(!window.isVisible());
    } else if (word == QLatin1String("FIND#")) {
      WaitUntil([&] { return window.SearchPanel->isVisibleTo(&window); },
                "the search panel to open");
      QVERIFY(window.Panel2->isVisibleTo(&window));
      QVERIFY(!window.TocPanel->isVisibleTo(&window));
    } else if (word == QLatin1String("TOC1#")) {
      WaitUntil([&] { return window.TocPanel->isVisibleTo(&window); },
                "the contents panel to open");
      QVERIFY(window.Panel2->isVisibleTo(&window));
      QVERIFY(!window.SearchPanel->isVisibleTo(&window));
    } else if (word == QLatin1String("PRIN#")) {
      WaitUntil([&] { return preview_.pages > 0; }, "the print preview to show pages");
    }
    Fence(window);

    // Each command ran once, and the page stayed where it was.
    const QStringList expectedMessages =
        word == QLatin1String("SHOW#") ? QStringList{"HI", "END"} : QStringList{"END"};
    QCOMPARE(MessageTexts(), expectedMessages);
    QCOMPARE(opened_.targets.size(), size_t{word == QLatin1String("OPEN#") ? 1u : 0u});
    if (!opened_.targets.empty()) QCOMPARE(opened_.targets[0], std::string("/SOME/FILE.PDF"));
    QCOMPARE(closed.size(), word == QLatin1String("EXIT#") || word == QLatin1String("QUIT#"));
    QCOMPARE(preview_.previews, word == QLatin1String("PRIN#") ? 1 : 0);
    QCOMPARE(PageAddress(window), before);
    QCOMPARE(window.WebBrowser1->LocationURL(), kStart);
  }

  void commandGrammar_data() {
    QTest::addColumn<QString>("href");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("marker and word in any case") << "#do#show#hi" << QStringList{"HI"};
    QTest::newRow("space escape") << "#DO#SHOW#Welcome%20back" << QStringList{"WELCOME BACK"};
    QTest::newRow("backslash escape") << "#DO#SHOW#a%5Cb" << QStringList{"A\\B"};
    QTest::newRow("lower-case backslash escape stays")
        << "#DO#SHOW#a%5cb" << QStringList{"A%5CB"};
    QTest::newRow("other escapes stay") << "#DO#SHOW#100%25" << QStringList{"100%25"};
    QTest::newRow("only the first marker counts")
        << "#DO#SHOW#a#DO#SHOW#b" << QStringList{"A#DO#SHOW#B"};
    QTest::newRow("marker after a page name")
        << "start.htm#DO#SHOW#again" << QStringList{"AGAIN"};
    QTest::newRow("unrecognised word cancelled silently") << "#DO#HELP#me" << QStringList{};
    QTest::newRow("short command cancelled silently") << "#DO#SHO" << QStringList{};
    QTest::newRow("marker alone") << "#DO#" << QStringList{};
  }
  void commandGrammar() {
    QFETCH(QString, href);
    QFETCH(QStringList, shown);
    InstallLinkBook(Options(), href.toStdString());
    TBB1 window(test::Book());
    WaitForFrame(window);
    Trigger(window, Way::FragmentLink, href);
    Fence(window);
    QCOMPARE(MessageTexts(), shown + QStringList{"END"});
    QCOMPARE(Messages().front().caption, QStringLiteral("Links"));
    QVERIFY(opened_.targets.empty());
    QCOMPARE(PageAddress(window), kStart);
  }

  void commandsInTempFolderMode_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("fragment-only link") << int(Way::FragmentLink);
    QTest::newRow("link in a frame") << int(Way::FrameLink);
    QTest::newRow("script assignment") << int(Way::Script);
  }
  void commandsInTempFolderMode() {
    QFETCH(int, way);
    QTemporaryDir temp;
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    const auto restore = qScopeGuard([] { qunsetenv("TMPDIR"); });
    InstallLinkBook(Options({{17, '1'}}), "#DO#SHOW#files");
    TBB1 window(test::Book());
    QVERIFY(!window.ProtocolMode);
    WaitForFrame(window);
    const QString before = PageAddress(window);
    QVERIFY(before.startsWith(QLatin1String("file:///")));
    Trigger(window, Way(way), QStringLiteral("#DO#SHOW#files"));
    Fence(window);
    QCOMPARE(MessageTexts(), (QStringList{"FILES", "END"}));
    QCOMPARE(PageAddress(window), before);
  }

  void openFindsFilesWithoutRegardToCase() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("Docs")));
    QFile file(folder.filePath(QStringLiteral("Docs/Guide.pdf")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const std::string drive = VolumeRootOf(ExecutablePath());

    const std::pair<QString, std::string> cases[] = {
        {QStringLiteral("#DO#OPEN#") + folder.path() + QStringLiteral("/docs/guide.PDF"),
         file.fileName().toStdString()},
        {QStringLiteral("#DO#open#$drv$\\no such folder\\guide.pdf"),
         drive + "/NO SUCH FOLDER/GUIDE.PDF"},
        {QStringLiteral("#DO#OPEN#$WIN$/NO-SUCH-FILE"), SystemDriveRoot() + "/NO-SUCH-FILE"},
        {QStringLiteral("#DO#OPEN#http://example.com/"), "HTTP://EXAMPLE.COM/"},
    };
    for (const auto& [href, target] : cases) {
      opened_.targets.clear();
    preview_.Reset();
      InstallLinkBook(Options(), href.toStdString());
      TBB1 window(test::Book());
      WaitForFrame(window);
      Trigger(window, Way::FragmentLink, href);
      Fence(window);
      QCOMPARE(opened_.targets, std::vector<std::string>{target});
    }
  }

  // A book file the installed viewer opens (not its own program, not executable, on another
  // volume): "$DRV$" names that file's volume, the bookmark key is the book's, the page
  // argument beats the bookmark.
  void aBookFileShownByTheInstalledViewerIsFollowed() {
    const QString folder = QStringLiteral("/dev/shm/ebook-navigation-%1").arg(getpid());
    QVERIFY(QDir().mkpath(folder));
    const auto removeFolder = qScopeGuard([&] {
      QDir(folder).removeRecursively();
      SetBookFile({}, true);
    });
    const std::string book = (folder + QStringLiteral("/shelf.ebook")).toStdString();
    {
      std::vector<BookEntry> entries = {
          SettingsEntry({"[cSettings]", "DATA=" + Options(), "home=start.htm", "[cInfo]",
                         "title=Shelf Book", "enumber={3}", "[cEve]", "bookmark=1"}),
          {"start.htm", "<title>start</title><a id=go href='#DO#OPEN#$DRV$/docs/a.pdf'>go</a>"
                        "<iframe src=other.htm></iframe>"},
          {"other.htm", "<title>other</title><a id=go href='#DO#OPEN#$DRV$/docs/a.pdf'>go</a>"}};
      SortInBookOrder(entries);
      std::ofstream(book, std::ios::binary) << EncodeArchive(entries);
      QFile::setPermissions(QString::fromStdString(book), QFile::ReadOwner | QFile::WriteOwner);
    }
    const std::string drive = VolumeRootOf(book);
    if (drive == VolumeRootOf(ExecutablePath())) QSKIP("/dev/shm is not a volume of its own here");
    SetBookFile(book, false);
    LoadExeImage();
    QCOMPARE(BookFilePath(), book);

    TBB1 window(ExeImage(), QStringLiteral("other.htm"));
    QCOMPARE(window.BookmarkKey(), QStringLiteral("Shelf Book{3}"));
    QCOMPARE(window.StartAddress, QStringLiteral("ebook://book/other.htm"));
    WaitForDocument(window);
    opened_.targets.clear();
    preview_.Reset();
    RunScript(window.WebBrowser1->Document(), QStringLiteral("document.getElementById('go').click()"));
    Fence(window);
    QCOMPARE(opened_.targets, std::vector<std::string>{drive + "/DOCS/A.PDF"});
  }

  void commandsFromOutsidePagesRefused_data() {
    QTest::addColumn<QString>("href");
    QTest::newRow("the outside page's own address") << "#DO#SHOW#outside";
    QTest::newRow("an address in the book") << "ebook://book/start.htm#DO#SHOW#outside";
  }
  void commandsFromOutsidePagesRefused() {
    QFETCH(QString, href);
    InstallLinkBook(Options(), "#DO#SHOW#book");
    TBB1 window(test::Book());
    QSignalSpy closed(&window, &TBB1::closed);
    window.show();
    WaitForDocument(window);
    // A web page the reader has reached from the book.
    const QString html = "<a id=go href=\"" + href + "\">go</a>";
    window.WebBrowser1->Document()->setHtml(html, QUrl(QStringLiteral("https://example.com/")));
    WaitForLocation(window, QStringLiteral("https://example.com/"));
    const QString outside = PageAddress(window);
    RunScript(window.WebBrowser1->Document(),
              QStringLiteral("document.getElementById('go').click();"
                             "location.href = '#DO#EXIT#';"));
    // The navigations were cancelled in the outside page.
    QCOMPARE(PageAddress(window), outside);
    // Back in the book, a command goes through the same channel after those.
    window.WebBrowser1->Navigate(kStart);
    WaitForFrame(window);
    Fence(window);
    QCOMPARE(MessageTexts(), QStringList{"END"});
    QCOMPARE(closed.size(), 0);
  }
};

#include "LinkCommandsTest.moc"

EBOOK_VIEWER_TEST(LinkCommandsTest);
