// Temp-folder mode: the book extracted to a fresh folder, shown from files, the folder gone at
// exit (also when the process is asked to terminate), and the bookmark kept across runs.

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "archive/ArchiveWriter.h"
#include "archive/ZLib.h"
#include "protocol/TempFolderRequests.h"
#include "viewer/window/MainWindow.h"
#include "viewer/window/StartAddress.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;

namespace {

std::vector<BookEntry> TempBook(bool bookmark = false) {
  return {SettingsEntry({"[cSettings]", "DATA=" + Options({{17, '1'}}), "home=start.htm",
                         "[cInfo]", "title=Temp Book", "enumber={7}", "[cEve]",
                         bookmark ? "bookmark=1" : "bookmark=0"}),
          {"start.htm",
           "<title>start</title><link rel=stylesheet href='css/Look.css'>"
           "<a id=next href='sub/Other.htm'>next</a>"},
          {"css/look.css", "body { margin-left: 17px }"},
          {"sub/other.htm", "<title>other</title>"}};
}

QStringList TempFolders(const QString& in) {
  return QDir(in).entryList({QStringLiteral("TMP*")}, QDir::Dirs | QDir::NoDotAndDotDot);
}

// The real viewer with `entries` as its archive, written to `path` as a book file.
void WriteBookFile(const QString& path, const std::vector<BookEntry>& entries) {
  std::ifstream viewer(EBOOK_VIEWER_PATH, std::ios::binary);
  std::string image(std::istreambuf_iterator<char>(viewer), {});
  image += EncodeArchive(entries);
  std::ofstream(path.toStdString(), std::ios::binary) << image;
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Starts the book file offscreen with its temporary folders in `tempFolder`.
void StartBook(QProcess& book, const QString& path, const QString& tempFolder,
               const QStringList& arguments = {}) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TMPDIR"), tempFolder);
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  book.setProcessEnvironment(environment);
  book.start(path, arguments);
}

// Waits until a book started on `tempFolder` has extracted its start page.
void WaitForExtractedStartPage(const QString& tempFolder) {
  WaitUntil(
      [&] {
        const QStringList folders = TempFolders(tempFolder);
        return !folders.isEmpty() && QFile::exists(tempFolder + QLatin1Char('/') + folders[0] +
                                                   QStringLiteral("/START.HTM"));
      },
      "the book to extract START.HTM into its temporary folder");
}

}  // namespace

class TempFolderModeTest : public QObject {
  Q_OBJECT
  QTemporaryDir temp_;

 private slots:
  void init() {
    qputenv("TMPDIR", temp_.path().toLocal8Bit());
    ClearMessages();
  }
  void cleanupTestCase() { qunsetenv("TMPDIR"); }

  void showsTheBookFromFilesAndDeletesThemAtExit() {
    InstallBook(TempBook());
    auto window = std::make_unique<TBB1>(test::Book());
    const QString base = window->BookBaseUrl;
    QVERIFY2(QRegularExpression(QStringLiteral("^%1/TMP[0-9]{1,5}-[0-9]{1,5}/$")
                                    .arg(QRegularExpression::escape(temp_.path())))
                 .match(base)
                 .hasMatch(),
             qPrintable(base));
    QVERIFY(!window->ProtocolMode);
    // Creation waited for the first page; its links name files in another letter case.
    QVERIFY(!window->WebBrowser1->Busy());
    QCOMPARE(window->WebBrowser1->LocationURL(), QStringLiteral("file://%1START.HTM").arg(base));
    QCOMPARE(RunScript(window->WebBrowser1->Document(),
                       QStringLiteral("getComputedStyle(document.body).marginLeft")),
             QVariant(QStringLiteral("17px")));
    QVERIFY(QFile::exists(base + QStringLiteral("SUB/OTHER.HTM")));
    QVERIFY(!QFile::exists(base + QStringLiteral("XSE1.QRLC")));

    RunScript(window->WebBrowser1->Document(), QStringLiteral("document.getElementById('next').click()"));
    WaitUntil(
        [&] { return window->WebBrowser1->LocationURL().endsWith(QLatin1String("SUB/OTHER.HTM")); },
        "the link to show SUB/OTHER.HTM");

    window.reset();
    QVERIFY(!QDir(base).exists());
    QVERIFY(TempFolders(temp_.path()).isEmpty());
  }

  void anEntryThatCannotBeInflatedIsReportedAndTheFolderStillGoes() {
    std::vector<BookEntry> entries = TempBook();
    const std::string broken = EncodeRawEntry("ZBROKEN.HTM", "not a zlib stream");
    InstallBook(entries, broken);
    auto window = std::make_unique<TBB1>(test::Book());
    QCOMPARE(Messages().size(), size_t{1});
    QCOMPARE(Messages()[0].text, QStringLiteral("data error"));
    const QStringList folders = TempFolders(temp_.path());
    QCOMPARE(folders.size(), 1);
    QVERIFY(QFile::exists(temp_.filePath(folders[0] + QStringLiteral("/START.HTM"))));
    window.reset();
    QVERIFY(TempFolders(temp_.path()).isEmpty());
  }

  void theBookmarkFollowsTheBookIntoTheNextRunsFolder() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QUIREL eBook"))
        .remove(QString());
    InstallBook(TempBook(true));
    auto first = std::make_unique<TBB1>(test::Book());
    first->WebBrowser1->Navigate(first->BookBaseUrl + QStringLiteral("sub/other.htm"));
    WaitForPage(*first);
    first->close();
    first.reset();

    auto second = std::make_unique<TBB1>(test::Book());
    WaitForPage(*second);
    QVERIFY(second->WebBrowser1->LocationURL().startsWith(QStringLiteral("file://") + second->BookBaseUrl));
    QVERIFY(second->WebBrowser1->LocationURL().endsWith(QLatin1String("SUB/OTHER.HTM")));
  }

  void rebaseBookmark() {
    QCOMPARE(RebaseBookmark(QStringLiteral("file:///tmp/TMP1-2/SUB/MY%20PAGE.HTM#x"),
                            QStringLiteral("/var/tmp/TMP29999-19999/")),
             QStringLiteral("/var/tmp/TMP29999-19999/SUB/MY PAGE.HTM#x"));
    for (const char* unchanged : {"ebook://book/PAGE.HTM", "file:///home/me/TMP1/PAGE.HTM", ""})
      QCOMPARE(RebaseBookmark(QString::fromLatin1(unchanged), QStringLiteral("/tmp/TMP5-6/")),
               QString::fromLatin1(unchanged));
    QCOMPARE(RebaseBookmark(QStringLiteral("file:///tmp/TMP1-2/A.HTM"),
                            QStringLiteral("ebook://book/")),
             QStringLiteral("file:///tmp/TMP1-2/A.HTM"));
  }

  void caseFoldedRequestsStayInTheFolder() {
    const QString folder = temp_.filePath(QStringLiteral("TMP1-1/"));
    QDir().mkpath(folder + QStringLiteral("SUB"));
    QFile(folder + QStringLiteral("SUB/PAGE.HTM")).open(QIODevice::WriteOnly);
    QCOMPARE(CaseFoldedBookFile(folder, folder + QStringLiteral("sub/page.htm")),
             folder + QStringLiteral("SUB/PAGE.HTM"));
    QCOMPARE(CaseFoldedBookFile(folder, folder + QStringLiteral("SUB/PAGE.HTM")), QString());
    QCOMPARE(CaseFoldedBookFile(folder, folder + QStringLiteral("sub/missing.htm")), QString());
    QCOMPARE(CaseFoldedBookFile(folder, temp_.filePath(QStringLiteral("tmp1-1/sub/page.htm"))),
             QString());
    QDir(folder).removeRecursively();
  }

  // The real viewer, asked to terminate while it shows a temp-folder book.
  void terminationClosesTheViewerAndDeletesTheFolder() {
    const QString bookPath = temp_.filePath(QStringLiteral("book.run"));
    WriteBookFile(bookPath, TempBook());
    const QString scratch = temp_.filePath(QStringLiteral("signal"));
    QDir().mkpath(scratch);

    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
      QProcess book;
      StartBook(book, bookPath, scratch);
      QVERIFY(book.waitForStarted(-1));
      WaitForExtractedStartPage(scratch);
      ::kill(static_cast<pid_t>(book.processId()), signal);
      QVERIFY(book.waitForFinished(-1));
      QCOMPARE(book.exitStatus(), QProcess::NormalExit);
      QVERIFY2(TempFolders(scratch).isEmpty(), qPrintable(QString::number(signal)));
    }
  }

  // A start page that never finishes loading (an endless script) does not keep the viewer
  // from ending on a signal, nor its folder from being deleted.
  void terminationDuringAnEndlessFirstPage() {
    std::vector<BookEntry> entries = TempBook();
    entries[1].content = "<title>start</title><script>for (;;) {}</script>";
    const QString bookPath = temp_.filePath(QStringLiteral("endless.run"));
    WriteBookFile(bookPath, entries);
    const QString scratch = temp_.filePath(QStringLiteral("endless"));
    QDir().mkpath(scratch);

    QProcess book;
    StartBook(book, bookPath, scratch);
    QVERIFY(book.waitForStarted(-1));
    WaitForExtractedStartPage(scratch);
    QTest::qWait(1000);  // the first page is loading (its script runs) by now
    ::kill(static_cast<pid_t>(book.processId()), SIGTERM);
    QVERIFY(book.waitForFinished(-1));
    QCOMPARE(book.exitStatus(), QProcess::NormalExit);
    QVERIFY(TempFolders(scratch).isEmpty());
  }

  // The first page's load is reported as in memory mode, though it finished while the window
  // was being made: --quit-after-load ends once it is shown.
  void firstPageLoadIsReported() {
    const QString bookPath = temp_.filePath(QStringLiteral("loaded.run"));
    WriteBookFile(bookPath, TempBook());
    QProcess book;
    StartBook(book, bookPath, temp_.path(), {QStringLiteral("--quit-after-load")});
    QVERIFY(book.waitForFinished(-1));
    QCOMPARE(book.exitCode(), 0);
    const QString said = QString::fromUtf8(book.readAllStandardOutput());
    QVERIFY2(said.startsWith(QStringLiteral("loaded file://")) &&
                 said.contains(QStringLiteral("/START.HTM")),
             qPrintable(said));
  }

  // A later start removes the folder a killed run left behind.
  void aLaterStartRemovesAKilledRunsFolder() {
    const QString left = temp_.filePath(QStringLiteral("TMP12-34"));
    QDir().mkpath(left + QStringLiteral("/SUB"));
    QFile file(left + QStringLiteral("/SUB/A.HTM"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    std::filesystem::last_write_time(left.toStdString(),
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::hours(1));
    InstallBook(TempBook());
    auto window = std::make_unique<TBB1>(test::Book());
    QVERIFY(!QFile::exists(left));
    QCOMPARE(TempFolders(temp_.path()).size(), 1);
    window.reset();
  }
};

#include "TempFolderModeTest.moc"

EBOOK_VIEWER_TEST(TempFolderModeTest);
