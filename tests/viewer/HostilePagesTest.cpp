// What a hostile book's pages cannot do: read the reader's files in temp-folder mode, send
// anything out through a script connection in either mode, make the bookmark an outside
// address, steer another book's start, or stack SHOW# boxes. A local web server on 127.0.0.1
// stands for the outside world and counts what reaches it.

#include <QElapsedTimer>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "viewer/window/MainWindow.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;

namespace {

// Answers every request with a small page and remembers each request's path.
class OutsideServer : public QObject {
 public:
  OutsideServer() {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
  }

  QString address(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
  }
  const QStringList& paths() const { return paths_; }
  bool saw(const QString& path) const { return paths_.contains(path); }

 private:
  void answer(QTcpSocket* socket) {
    const QByteArray request = socket->readAll();
    const QList<QByteArray> words = request.left(request.indexOf('\r')).split(' ');
    if (words.size() < 2) return;
    paths_ << QString::fromLatin1(words[1]);
    const QByteArray body =
        "<title>outside</title><script>fetch('/own').then(r => r.text())"
        ".then(t => document.title = 'outside ' + t)</script>";
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nAccess-Control-Allow-Origin: *\r\n"
                  "Connection: close\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\n\r\n" + body);
    socket->disconnectFromHost();
  }

  QTcpServer server_;
  QStringList paths_;
};

QWebEnginePage* Page(TBB1& window) { return window.WebBrowser1->engineView()->page(); }

// Every kind of connection a script can open to `target` (a full address); window.__result is
// set once each has ended one way or the other. A connection that got through has reached the
// server by then: the server records a request before it answers.
QString ConnectionAttempts(const QString& target) {
  QString ws = target;
  ws.replace(QStringLiteral("http://"), QStringLiteral("ws://"));
  return QStringLiteral(
             "{ const ended = [];"
             "  const end = (what) => { ended.push(what);"
             "    if (ended.length == 4) window.__result = ended.sort().join(' '); };"
             "  navigator.sendBeacon('%1/beacon', 'data');"
             "  fetch('%1/fetch').then(() => end('fetch'), () => end('fetch'));"
             "  const x = new XMLHttpRequest(); x.onloadend = () => end('xhr');"
             "  x.open('GET', '%1/xhr'); x.send();"
             "  const s = new WebSocket('%2/socket'); s.onclose = () => end('socket');"
             "  const e = new EventSource('%1/events'); e.onerror = () => { e.close(); end('events'); };"
             "}")
      .arg(target, ws);
}

QSettings BookmarkStore() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QUIREL eBook"),
                   QString());
}

const QString kBookKey = QStringLiteral("Hostile{9}");

std::vector<BookEntry> Book(bool tempFolder, const std::string& extraPage = {}) {
  std::vector<BookEntry> entries = {
      SettingsEntry({"[cSettings]", "DATA=" + Options(tempFolder ? std::map<size_t, char>{{17, '1'}}
                                                                 : std::map<size_t, char>{}),
                     "home=start.htm", "[cInfo]", "title=Hostile", "enumber={9}", "[cEve]",
                     "bookmark=1"}),
      {"start.htm", "<title>start</title><a id=show href='#DO#SHOW#first'>show</a>"},
      {"other.htm", "<title>other</title>"},
      {"sub/page.htm", "<title>sub</title>"}};
  if (!extraPage.empty()) entries.push_back({"probe.htm", extraPage});
  return entries;
}

}  // namespace

class HostilePagesTest : public QObject {
  Q_OBJECT
  QTemporaryDir temp_;

 private slots:
  void init() {
    qputenv("TMPDIR", temp_.path().toLocal8Bit());
    BookmarkStore().remove(QString());
    ClearMessages();
  }
  void cleanupTestCase() { qunsetenv("TMPDIR"); }

  // Temp-folder pages read their own folder, and "/x" links reach the folder's top, but no
  // file outside it: not by fetch, XMLHttpRequest, a frame or a folder listing.
  void tempFolderPagesReadOnlyTheirOwnFolder() {
    QTemporaryDir outside;
    QFile secret(outside.filePath(QStringLiteral("secret.txt")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("SECRET");
    secret.close();
    InstallBook(Book(true));
    TBB1 window(test::Book(), QStringLiteral("sub/page.htm"));
    WaitForPage(window);
    const QString secretUrl = QUrl::fromLocalFile(secret.fileName()).toString();
    const auto read = [&](const QString& url) {
      return RunAsyncScript(Page(window),
                            QStringLiteral("{ const x = new XMLHttpRequest();"
                                           "x.onload = () => window.__result = x.responseText;"
                                           "x.onerror = () => window.__result = 'blocked';"
                                           "x.open('GET', '%1'); x.send(); }")
                                .arg(url))
          .toString();
    };
    QCOMPARE(read(secretUrl), QStringLiteral("blocked"));
    QCOMPARE(read(QUrl::fromLocalFile(outside.path() + QLatin1Char('/')).toString()),
             QStringLiteral("blocked"));
    QCOMPARE(read(QStringLiteral("file:///etc/passwd")), QStringLiteral("blocked"));
    QVERIFY(read(QStringLiteral("../other.htm")).contains(QStringLiteral("<title>other")));
    QVERIFY(read(QStringLiteral("/other.htm")).contains(QStringLiteral("<title>other")));
    const QString viaFetch =
        RunAsyncScript(Page(window), QStringLiteral("fetch('%1').then(r => r.text())"
                                                    ".then(t => window.__result = t,"
                                                    " () => window.__result = 'blocked');")
                                         .arg(secretUrl))
            .toString();
    QCOMPARE(viaFetch, QStringLiteral("blocked"));
    // A frame of the file shows an error page, never the file's text.
    RunScript(Page(window), QStringLiteral("{ const f = document.createElement('iframe');"
                                           "f.src = '%1'; document.body.append(f); }")
                                .arg(secretUrl));
    QTest::qWait(500);
    QCOMPARE(RunScript(Page(window), QStringLiteral("document.body.innerText")).toString()
                 .contains(QStringLiteral("SECRET")),
             false);
    // A root link followed by the reader opens the book's own page.
    OpenAndWait(window, QUrl::fromLocalFile(QStringLiteral("/other.htm")).toString());
    QCOMPARE(RunScript(Page(window), QStringLiteral("document.title")).toString(),
             QStringLiteral("other"));
  }

  // No script connection leaves a book page, in either mode; an outside page the reader opens
  // still talks to its own server.
  void scriptConnectionsReachNothingButTheBook() {
    for (const bool tempFolder : {false, true}) {
      OutsideServer server;
      InstallBook(Book(tempFolder));
      TBB1 window(test::Book());
      WaitForPage(window);
      QCOMPARE(RunAsyncScript(Page(window), ConnectionAttempts(server.address(QString()))),
               QVariant(QStringLiteral("events fetch socket xhr")));
      QVERIFY2(server.paths().isEmpty(), qPrintable(server.paths().join(QLatin1Char(' '))));

      OpenAndWait(window, server.address(QStringLiteral("/page")));
      WaitUntil([&] { return server.saw(QStringLiteral("/own")); },
                "the outside page to fetch /own from its own server");
    }
  }

  // The bookmark is the last book page shown: an outside page open at close, or a load that
  // failed, leaves it where the reader last was in the book.
  void bookmarkIsTheLastPageOfTheBook() {
    OutsideServer server;
    InstallBook(Book(false));
    {
      TBB1 window(test::Book());
      WaitForPage(window);
      OpenAndWait(window, QStringLiteral("ebook://book/other.htm#part"));
      OpenAndWait(window, server.address(QStringLiteral("/page")));
      OpenAndWait(window, QStringLiteral("http://127.0.0.1:1/refused"));
      window.close();
    }
    QCOMPARE(BookmarkStore().value(kBookKey + QStringLiteral("/bookmark")).toString(),
             QStringLiteral("ebook://book/other.htm#part"));
  }

  // A saved bookmark outside the book, or saved by another book of the same title and number,
  // is passed over; a bookmark saved by an earlier viewer (no identity) is still used.
  void startNeverFollowsABookmarkThatIsNotThisBooks() {
    OutsideServer server;
    InstallBook(Book(false));
    const auto startWith = [&](const QString& bookmark, const QString& identity) {
      QSettings store = BookmarkStore();
      store.remove(QString());
      store.setValue(kBookKey + QStringLiteral("/bookmark"), bookmark);
      if (!identity.isEmpty()) store.setValue(kBookKey + QStringLiteral("/book"), identity);
      store.sync();
      TBB1 window(test::Book());
      WaitForPage(window);
      const QString shown = window.WebBrowser1->LocationURL();
      window.close();
      return shown;
    };
    QCOMPARE(startWith(server.address(QStringLiteral("/steered")), QString()),
             QStringLiteral("ebook://book/start.htm"));
    QVERIFY(!server.saw(QStringLiteral("/steered")));
    QCOMPARE(startWith(QStringLiteral("ebook://book/other.htm"), QStringLiteral("0123456789abcdef")),
             QStringLiteral("ebook://book/start.htm"));
    QCOMPARE(startWith(QStringLiteral("ebook://book/other.htm"), QString()),
             QStringLiteral("ebook://book/other.htm"));
    // What this book saved itself is used.
    QCOMPARE(startWith(BookmarkStore().value(kBookKey + QStringLiteral("/bookmark")).toString(),
                       BookmarkStore().value(kBookKey + QStringLiteral("/book")).toString()),
             QStringLiteral("ebook://book/other.htm"));
  }

  // While a SHOW# box is open, further SHOW# commands of the page are dropped.
  void showBoxesComeOneAtATime() {
    InstallBook(Book(false));
    TBB1 window(test::Book());
    window.show();
    WaitForPage(window);
    int shown = 0;
    RecordMessages([&](const RecordedMessage&) {
      if (++shown > 1) return;
      // The page repeats its command while the box is open.
      for (int i = 0; i < 5; ++i) {
        RunScript(Page(window), QStringLiteral("location.hash = ''; document.getElementById('show')"
                                               ".click();"));
        QElapsedTimer open;
        open.start();
        while (open.elapsed() < 100) QCoreApplication::processEvents();
      }
    });
    RunScript(Page(window), QStringLiteral("document.getElementById('show').click();"));
    WaitUntil([&] { return shown > 0; }, "the page's command to show its message");
    QTest::qWait(300);
    RecordMessages();
    QCOMPARE(shown, 1);
  }
};

#include "HostilePagesTest.moc"

EBOOK_VIEWER_TEST(HostilePagesTest);
