// The book served from memory: addresses to entry names, content types, and pages with their
// pictures, styles and scripts rendered through the book scheme.

#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "archive/ArchiveWriter.h"
#include "protocol/BookScheme.h"
#include "protocol/BookUrl.h"
#include "viewer/window/MainWindow.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;

class ProtocolTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TBB1> window_;

  QWebEnginePage* page() { return window_->WebBrowser1->engineView()->page(); }

 private slots:
  void initTestCase() {
    InstallBook({
        SettingsEntry({"[cSettings]", "DATA=" + Options(), "home=index.htm"}),
        {"index.htm",
         "<html><head><link rel=stylesheet href=\"css/style.css\">"
         "<script src=\"js/app.js\"></script></head>"
         "<body><img src=\"images/my%20pic.bmp\"><p>caf\xE9</p></body></html>"},
        {"css/style.css", "body { color: rgb(1, 2, 3); }"},
        {"js/app.js", "document.title = 'scripted';"},
        {"images/my pic.bmp", Bitmap(7, 5)},
        {"my page.htm", "<title>spaced</title>"},
        {"utf8.htm", "<meta charset=\"utf-8\"><p>caf\xC3\xA9</p>"},
        {"data/words.txt", "from the book"},
        {"fetch.htm", "<p>fetching</p>"},
    },
    // An entry whose stored data is no zlib stream.
    EncodeRawEntry("BROKEN.HTM", "this is not deflated") +
        EncodeRawEntry("DATA/BROKEN.TXT", "not deflated either") +
        EncodeRawEntry("IMAGES/BROKEN.GIF", "no picture"));
    window_ = std::make_unique<TBB1>(test::Book());
    WaitForPage(*window_);
  }

  void cleanupTestCase() { window_.reset(); }

  void entryNameFromUrl_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "ebook://book/index.htm" << true << "index.htm";
    QTest::newRow("%20 is a space") << "ebook://book/images/my%20pic.jpg" << true
                                    << "images/my pic.jpg";
    QTest::newRow("other escapes stay") << "ebook://book/a%2Fb%C3.htm" << true
                                        << "a%2Fb%C3.htm";
    QTest::newRow("query stays") << "ebook://book/page.htm?x=1" << true << "page.htm?x=1";
    QTest::newRow("capitals in scheme and host") << "EBOOK://BOOK/Page.htm" << true
                                                 << "Page.htm";
    QTest::newRow("base alone") << "ebook://book/" << true << "";
    QTest::newRow("other host") << "ebook://other/index.htm" << false << "";
    QTest::newRow("web") << "http://book/index.htm" << false << "";
  }
  void entryNameFromUrl() {
    QFETCH(QString, url);
    QFETCH(bool, taken);
    QFETCH(QString, name);
    const auto entry = EntryNameFromUrl(url, ProtocolBaseUrl());
    QCOMPARE(entry.has_value(), taken);
    if (taken) QCOMPARE(QString::fromStdString(*entry), name);
  }

  void contentType_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("type");
    QTest::newRow("ANSI page") << "a.htm" << QByteArray("<p>caf\xE9") << QByteArray("text/html; charset=windows-1252");
    QTest::newRow("html in capitals") << "A.HTML" << QByteArray("<p>x") << QByteArray("text/html; charset=windows-1252");
    QTest::newRow("page names its charset")
        << "a.htm" << QByteArray("<META http-equiv=Content-Type content='text/html; charset=utf-8'>")
        << QByteArray("text/html");
    QTest::newRow("page with BOM") << "a.htm" << QByteArray("\xEF\xBB\xBF<p>x") << QByteArray("text/html");
    QTest::newRow("query ignored for the type") << "a.htm?x=1" << QByteArray("<p>x") << QByteArray("text/html; charset=windows-1252");
    QTest::newRow("plain text") << "a.txt" << QByteArray("x") << QByteArray("text/plain; charset=windows-1252");
    QTest::newRow("UTF-8 page without a charset")
        << "a.html" << QByteArray("<p>s\xC3\xA9" "curit\xC3\xA9") << QByteArray("text/html; charset=utf-8");
    QTest::newRow("UTF-8 text") << "a.txt" << QByteArray("\xE2\x80\x94") << QByteArray("text/plain; charset=utf-8");
    QTest::newRow("Windows-1252 text") << "a.txt" << QByteArray("\x97") << QByteArray("text/plain; charset=windows-1252");
    QTest::newRow("XML declaration") << "a.html" << QByteArray("<?xml version='1.0' encoding='utf-8'?><p>\xC3\xA9")
                                     << QByteArray("text/html");
    QTest::newRow("a meta tag in a text file is text")
        << "a.txt" << QByteArray("<meta charset=utf-8>\xE9") << QByteArray("text/plain; charset=windows-1252");
    QTest::newRow("style sheet") << "a.css" << QByteArray("p{}") << QByteArray("text/css");
    QTest::newRow("picture") << "a.gif" << QByteArray("GIF89a") << QByteArray("image/gif");
    QTest::newRow("missing entry") << "a.png" << QByteArray() << QByteArray("text/html");
  }
  void contentType() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, type);
    QCOMPARE(ContentTypeFor(name.toStdString(), bytes.toStdString()), type);
  }

  void startPageRendersFromMemory() {
    QVERIFY(window_->ProtocolMode);
    QCOMPARE(window_->WebBrowser1->LocationURL(), QStringLiteral("ebook://book/index.htm"));
    QCOMPARE(RunScript(page(), "document.title").toString(), QStringLiteral("scripted"));
    QCOMPARE(RunScript(page(), "getComputedStyle(document.body).color").toString(),
             QStringLiteral("rgb(1, 2, 3)"));
    QCOMPARE(RunScript(page(), "document.images[0].naturalWidth").toInt(), 7);
  }

  void charsets_data() {
    QTest::addColumn<QString>("address");
    QTest::newRow("ANSI page") << "ebook://book/index.htm";
    QTest::newRow("page declaring UTF-8") << "ebook://book/utf8.htm";
  }
  void charsets() {
    QFETCH(QString, address);
    QVERIFY(OpenAndWait(*window_, address));
    QCOMPARE(RunScript(page(), "document.querySelector('p').textContent").toString(),
             QStringLiteral("caf\u00e9"));
  }

  void spaceEscapeFindsEntry() {
    QVERIFY(OpenAndWait(*window_, "ebook://book/my%20page.htm"));
    QCOMPARE(RunScript(page(), "document.title").toString(), QStringLiteral("spaced"));
  }

  void missingPageIsEmpty() {
    QVERIFY(OpenAndWait(*window_, "ebook://book/nothing-here.htm"));
    QCOMPARE(RunScript(page(), "document.body.innerHTML").toString(), QString());
  }

  // A damaged page says so in the reader's words; anything else that cannot be inflated fails.
  void damagedEntries() {
    QVERIFY(OpenAndWait(*window_, "ebook://book/broken.htm"));
    QCOMPARE(RunScript(page(), "document.title").toString(), QStringLiteral("Damaged page"));
    QCOMPARE(RunScript(page(), "document.querySelector('p').textContent").toString(),
             QStringLiteral("broken.htm: data error"));
    QVERIFY(OpenAndWait(*window_, "ebook://book/data/broken.txt"));
    QVERIFY(RunScript(page(), "document.body.textContent").toString().endsWith(
        QStringLiteral("data/broken.txt: data error\n")));
    QVERIFY(!OpenAndWait(*window_, "ebook://book/images/broken.gif"));
  }

  void fetchReadsBookFiles() {
    QVERIFY(OpenAndWait(*window_, "ebook://book/fetch.htm"));
    QCOMPARE(RunAsyncScript(page(), "fetch('data/words.txt').then(r => r.text())"
                                    ".then(t => window.__result = t,"
                                    " e => window.__result = 'failed: ' + e);")
                 .toString(),
             QStringLiteral("from the book"));
    QCOMPARE(RunAsyncScript(page(), "fetch(new Request('data/words.txt'))"
                                    ".then(r => window.__result = r.ok && r.status === 200,"
                                    " e => window.__result = 'failed: ' + e);")
                 .toBool(),
             true);
  }

  void outsidePageIsRefusedTheBook() {
    QSignalSpy finished(page(), &QWebEnginePage::loadFinished);
    page()->setHtml(QStringLiteral("<img src=\"ebook://book/images/my%20pic.bmp\">"),
                    QUrl(QStringLiteral("https://outside.example/")));
    WaitUntil([&] { return !finished.isEmpty(); }, "the outside page to finish loading");
    QCOMPARE(RunScript(page(), "document.images[0].naturalWidth").toInt(), 0);
  }

  void bookPageCannotReadLocalFiles() {
    QTemporaryFile local;
    QVERIFY(local.open());
    local.write("secret");
    local.flush();
    QVERIFY(OpenAndWait(*window_, "ebook://book/fetch.htm"));
    const QString script = QStringLiteral(
        "const x = new XMLHttpRequest(); x.open('GET', '%1');"
        "x.onload = () => window.__result = 'read: ' + x.responseText;"
        "x.onerror = () => window.__result = 'blocked';"
        "try { x.send(); } catch (e) { window.__result = 'blocked'; }");
    QCOMPARE(RunAsyncScript(page(), script.arg(QUrl::fromLocalFile(local.fileName()).toString()))
                 .toString(),
             QStringLiteral("blocked"));
  }
};

#include "ProtocolTest.moc"

EBOOK_VIEWER_TEST(ProtocolTest);
