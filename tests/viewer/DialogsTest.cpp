// The About box, the splash screen and the application's error handler.

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <memory>
#include <stdexcept>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "viewer/dialogs/AboutBox.h"
#include "viewer/window/Application.h"
#include "viewer/window/MainWindow.h"
#include "viewer/dialogs/SplashScreen.h"

using namespace ebook;
using namespace ebook::test;

namespace {

int SplashWindows() {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (qobject_cast<TSplashScreen*>(widget)) ++count;
  }
  return count;
}

// An object whose event handler fails.
class Failing : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw std::runtime_error("event failed");
    return QObject::event(event);
  }
};

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    ClearMessages();
    Application::setTitle(QStringLiteral("eBook"));
  }

  void aboutBoxLines_data() {
    QTest::addColumn<QStringList>("info");  // title, enumber, author, email, web, about
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("all six, web before e-mail")
        << QStringList{"T", "N", "A", "E", "W", "X"}
        << QStringList{"", "T", "", "N", "", "A", "", "W", "", "E", "", "X", ""};
    QTest::newRow("empty values add nothing")
        << QStringList{"T", "", "A", "", "", ""} << QStringList{"", "T", "", "A", ""};
    QTest::newRow("nothing at all") << QStringList{"", "", "", "", "", ""} << QStringList{""};
  }
  void aboutBoxLines() {
    QFETCH(QStringList, info);
    QFETCH(QStringList, lines);
    const char* keys[] = {"title", "enumber", "author", "email", "web", "about"};
    std::vector<std::string> settings = {"[cTool]", "BL8=About this book", "[search]", "5=Done",
                                         "[cInfo]"};
    for (int i = 0; i < 6; ++i) settings.push_back(std::string(keys[i]).append("=").append(info[i].toStdString()));
    InstallBook({SettingsEntry(settings)});
    TBB1 window(test::Book());
    TBB2 about(&window);
    window.BB2 = &about;
    QStringList shown;
    QString title, closeCaption;
    QTimer::singleShot(0, &about, [&] {
      shown = about.lines();
      title = about.windowTitle();
      closeCaption = about.Button1->text();
      QVERIFY(about.isModal() && about.isVisible());
      about.Button1->click();
    });
    window.SpeedButton8Click();
    QCOMPARE(shown, lines);
    QCOMPARE(title, QStringLiteral("About this book"));
    QCOMPARE(closeCaption, QStringLiteral("Done"));
    QVERIFY(!about.isVisible());
  }

  void aboutBoxIgnoresEscape() {
    TBB2 about;
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(about.isVisible());
  }

  void noMarkerNoSplash() {
    InstallBook({SettingsEntry({"[cEve]", "splashtime=5"}), {"XSE0.QRLC", Bitmap(10, 10)}});
    QVERIFY(TSplashScreen::ShowIfWanted(test::Book()) == nullptr);
    QCOMPARE(SplashWindows(), 0);
  }

  void splashShowsPictureCentredOnTop() {
    InstallBook({{"XSEI.QRLC", "2"}, {"XSE0.QRLC", Bitmap(320, 200)}});
    QPointer<TSplashScreen> splash = TSplashScreen::ShowIfWanted(test::Book());
    QVERIFY(splash);
    QVERIFY(splash->isVisible());
    QCOMPARE(splash->size(), QSize(320, 200));
    QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(splash->geometry().center(), splash->screen()->geometry().center());
    QCOMPARE(splash->Timer1->interval(), 2000);
    QSignalSpy destroyed(splash.data(), &QObject::destroyed);
    WaitUntil([&] { return splash.isNull(); }, "the splash window to close");
    QCOMPARE(destroyed.size(), 1);
    QCOMPARE(SplashWindows(), 0);
  }

  void splashTiming_data() {
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<int>("interval");
    QTest::newRow("zero closes at first tick") << QByteArray("0") << 1;
    QTest::newRow("negative like zero") << QByteArray("-3") << 1;
    QTest::newRow("seconds") << QByteArray("1") << 1000;
  }
  void splashTiming() {
    QFETCH(QByteArray, marker);
    QFETCH(int, interval);
    InstallBook({{"XSEI.QRLC", marker.toStdString()}});
    QPointer<TSplashScreen> splash = TSplashScreen::ShowIfWanted(test::Book());
    QVERIFY(splash);
    QCOMPARE(splash->Timer1->interval(), interval);
    QCOMPARE(splash->size(), QSize(0, 0));  // no picture
    QSignalSpy destroyed(splash.data(), &QObject::destroyed);
    WaitUntil([&] { return splash.isNull(); }, "the splash window to close");
    QCOMPARE(destroyed.size(), 1);
    QVERIFY(Messages().empty());
  }

  void splashWithBadMarkerReportsAndGoesAtOnce() {
    InstallBook({{"XSEI.QRLC", "soon"}, {"XSE0.QRLC", Bitmap(10, 10)}});
    QPointer<TSplashScreen> splash = TSplashScreen::ShowIfWanted(test::Book());
    QCOMPARE(Messages().size(), size_t{1});
    QCOMPARE(Messages()[0].kind, MessageKind::Error);
    QVERIFY(Messages()[0].text.contains(QLatin1String("soon")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(splash.isNull());
    QCOMPARE(SplashWindows(), 0);
  }

  void splashWithBadPictureClosesAfterItsTime() {
    InstallBook({{"XSEI.QRLC", "0"}, {"XSE0.QRLC", "not a bitmap"}});
    QPointer<TSplashScreen> splash = TSplashScreen::ShowIfWanted(test::Book());
    QCOMPARE(Messages().size(), size_t{1});
    QVERIFY(splash);
    WaitUntil([&] { return splash.isNull(); }, "the splash window to close");
  }

  void errorsLeavingHandlersAreReported_data() {
    QTest::addColumn<bool>("fromTimer");
    QTest::addColumn<QString>("text");
    QTest::newRow("timer slot") << true << "timer failed";
    QTest::newRow("event handler") << false << "event failed";
  }
  void errorsLeavingHandlersAreReported() {
    QFETCH(bool, fromTimer);
    QFETCH(QString, text);
    Application::setTitle(QStringLiteral("My Book"));
    Failing failing;
    if (fromTimer) {
      QTimer::singleShot(0, [] { throw std::runtime_error("timer failed"); });
    } else {
      QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    }
    bool wentOn = false;
    QTimer::singleShot(1, [&] { wentOn = true; });
    WaitUntil([&] { return wentOn && !Messages().empty(); },
              "the error to be reported and the event loop to go on");
    QCOMPARE(Messages().size(), size_t{1});
    QCOMPARE(Messages()[0].kind, MessageKind::Error);
    QCOMPARE(Messages()[0].caption, QStringLiteral("My Book"));
    QCOMPARE(Messages()[0].text, text);
  }
};

#include "DialogsTest.moc"

EBOOK_VIEWER_TEST(DialogsTest);
