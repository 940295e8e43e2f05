// Navigation: link commands from every kind of link, their grammar as the reader sees it,
// commands refused outside the book, Back / Next / Home / Stop in their three meanings, the
// print preview and where the keyboard goes after a page has loaded.

#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QWebEnginePage>
#include <fstream>
#include <memory>
#include <unistd.h>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "platform/Shell.h"
#include "platform/RunningBook.h"
#include "viewer/window/Application.h"
#include "viewer/window/MainWindow.h"
#include "viewer/dialogs/PrintPreview.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;

namespace {

const QString kStart = QStringLiteral("ebook://book/start.htm");
const QString kOther = QStringLiteral("ebook://book/other.htm");

// How a page reaches an address.
enum class Way { Link, FragmentLink, Script, FrameLink, FrameScript };

// A book whose start page links to `href` (also from a frame) and to other.htm.
void InstallLinkBook(const std::string& options, const std::string& href,
                     std::vector<std::string> extra = {}) {
  std::vector<std::string> lines = {"[cSettings]", "DATA=" + options, "home=start.htm",
                                    "[cInfo]", "title=Links"};
  lines.insert(lines.end(), extra.begin(), extra.end());
  const std::string link = "<a id=go href=\"" + href + "\">go</a>";
  InstallBook({SettingsEntry(lines),
               {"start.htm", "<title>start</title>" + link + "<iframe src=frame.htm></iframe>"},
               {"frame.htm", "<title>frame</title>" + link},
               {"other.htm", "<title>other</title>"}});
}

QString Quoted(const QString& text) { return QLatin1Char('\'') + text + QLatin1Char('\''); }

void Trigger(TBB1& window, Way way, const QString& href) {
  QWebEnginePage* page = window.WebBrowser1->Document();
  const QString frame = QStringLiteral("document.querySelector('iframe').contentWindow");
  switch (way) {
    case Way::Link:
    case Way::FragmentLink:
      RunScript(page, QStringLiteral("document.getElementById('go').click()"));
      break;
    case Way::Script:
      RunScript(page, QStringLiteral("location.href = ") + Quoted(href));
      break;
    case Way::FrameLink:
      RunScript(page, frame + QStringLiteral(".document.getElementById('go').click()"));
      break;
    case Way::FrameScript:
      RunScript(page, frame + QStringLiteral(".location.href = ") + Quoted(href));
      break;
  }
}

// Waits until the frame of the start page has loaded too.
void WaitForFrame(TBB1& window) {
  WaitForDocument(window);
  WaitUntil(
      [&] {
        return RunScript(window.WebBrowser1->Document(),
                         QStringLiteral("(function(){var f=document.querySelector('iframe');"
                                        "return !!f && f.contentDocument.readyState==='complete'"
                                        " && !!f.contentDocument.getElementById('go');})()"))
            .toBool();
      },
      "the start page's frame to finish loading");
}

// Shows "END" through a fragment assignment and waits for it: every command triggered
// before has been handled by then, in order.
void Fence(TBB1& window) {
  RunScript(window.WebBrowser1->Document(), QStringLiteral("location.href = '#DO#SHOW#END'"));
  WaitUntil([] { return !Messages().empty() && Messages().back().text == QLatin1String("END"); },
            "the fence message END to be shown");
}

QStringList MessageTexts() {
  QStringList texts;
  for (const RecordedMessage& message : Messages()) texts << message.text;
  return texts;
}

QString PageAddress(TBB1& window) {
  return RunScript(window.WebBrowser1->Document(), QStringLiteral("location.href")).toString();
}

}  // namespace

class NavigationTest : public QObject {
  Q_OBJECT

  std::vector<std::string> opened_;
  ShellOpener previousOpener_;
  int previews_ = 0;
  int previewPages_ = -1;

 private slots:
  void initTestCase() {
    previousOpener_ = SetShellOpener([this](const std::string& target) {
      opened_.push_back(target);
    });
    // The preview is looked at once it has pages, then closed; the hook must not wait inside,
    // as the preview renders after it has been called.
    PrintPreview::SetDialogHook([this](QPrintPreviewDialog& dialog) {
      ++previews_;
      auto* poll = new QTimer(&dialog);
      connect(poll, &QTimer::timeout, &dialog, [this, &dialog] {
        auto* preview = dialog.findChild<QPrintPreviewWidget*>();
        if (!preview || preview->pageCount() == 0) return;
        previewPages_ = preview->pageCount();
        dialog.reject();
      });
      poll->start(10);
    });
  }
  void cleanupTestCase() {
    SetShellOpener(previousOpener_);
    PrintPreview::SetDialogHook({});
  }
  void init() {
    ClearMessages();
    opened_.clear();
    previews_ = 0;
    previewPages_ = -1;
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
      WaitUntil([&] { return !opened_.empty(); }, "the OPEN command to open its address");
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
      WaitUntil([&] { return previewPages_ > 0; }, "the print preview to show pages");
    }
    Fence(window);

    // Each command ran once, and the page stayed where it was.
    const QStringList expectedMessages =
        word == QLatin1String("SHOW#") ? QStringList{"HI", "END"} : QStringList{"END"};
    QCOMPARE(MessageTexts(), expectedMessages);
    QCOMPARE(opened_.size(), size_t{word == QLatin1String("OPEN#") ? 1u : 0u});
    if (!opened_.empty()) QCOMPARE(opened_[0], std::string("/SOME/FILE.PDF"));
    QCOMPARE(closed.size(), word == QLatin1String("EXIT#") || word == QLatin1String("QUIT#"));
    QCOMPARE(previews_, word == QLatin1String("PRIN#") ? 1 : 0);
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
    QVERIFY(opened_.empty());
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
      opened_.clear();
      InstallLinkBook(Options(), href.toStdString());
      TBB1 window(test::Book());
      WaitForFrame(window);
      Trigger(window, Way::FragmentLink, href);
      Fence(window);
      QCOMPARE(opened_, std::vector<std::string>{target});
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
    opened_.clear();
    RunScript(window.WebBrowser1->Document(), QStringLiteral("document.getElementById('go').click()"));
    Fence(window);
    QCOMPARE(opened_, std::vector<std::string>{drive + "/DOCS/A.PDF"});
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
    QCOMPARE(previews_, 0);
    WaitForDocument(window);
    window.SpeedButton7Click();
    QCOMPARE(previews_, 1);
    QVERIFY(previewPages_ >= 1);
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
