// The toolbar: which buttons stand where, their captions, sizes and colours, the book's button
// pictures with their transparent colour, the logo and its click.

#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <memory>

#include "support/window/OpenedTargets.h"
#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "viewer/window/MainWindow.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;

namespace {

// Left to right.
const QList<int> kPlacementOrder = {1, 2, 5, 3, 4, 12, 6, 7, 8, 9};

// Shown buttons from left to right, with their left edges.
QList<QPair<int, int>> ShownButtons(const TBB1& window) {
  QList<QPair<int, int>> shown;
  for (int i : kPlacementOrder) {
    if (!window.SpeedButton[i]->isHidden()) shown.append({i, window.SpeedButton[i]->x()});
  }
  std::sort(shown.begin(), shown.end(),
            [](const auto& a, const auto& b) { return a.second < b.second; });
  return shown;
}

// The picture as a screen of ratio 1 shows it.
QImage ButtonPicture(const TBB1& window, int button) {
  const QToolButton* b = window.SpeedButton[button];
  return b->icon().pixmap(b->iconSize(), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

class ToolbarTest : public QObject {
  Q_OBJECT

  OpenedTargets opened_;

 private slots:
  void init() {
    ClearMessages();
    opened_.targets.clear();
  }

  void buttonsInPlacementOrder_data() {
    QTest::addColumn<QString>("switches");  // offsets 0 to 9
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("Next and Exit") << "0100000010" << 48 << 45 << QList<int>{2, 9};
    QTest::newRow("all ten") << "1111111111" << 30 << 40 << kPlacementOrder;
    QTest::newRow("none") << "0000000000" << 48 << 45 << QList<int>{};
    QTest::newRow("Stop before Reload, Content before Search")
        << "0011110001" << 60 << 50 << QList<int>{5, 3, 4, 12, 6};
    QTest::newRow("only 1 shows a button") << "2-x0011aaa" << 48 << 45 << QList<int>{6, 7};
  }
  void buttonsInPlacementOrder() {
    QFETCH(QString, switches);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QList<int>, order);
    std::map<size_t, char> options;
    for (int i = 0; i < 10; ++i) options[size_t(i)] = switches[i].toLatin1();
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options(options), "[cTool]",
                                "buttonwidth=" + std::to_string(width),
                                "buttonheight=" + std::to_string(height)})});
    TBB1 window(test::Book());
    QList<QPair<int, int>> expected;
    for (int place = 0; place < order.size(); ++place)
      expected.append({order[place], place * (width + 1)});
    QCOMPARE(ShownButtons(window), expected);
    QCOMPARE(window.Panel1->height(), height + 6);
    for (int i : kPlacementOrder) {
      QCOMPARE(window.SpeedButton[i]->size(), QSize(width, height));
      QCOMPARE(window.SpeedButton[i]->y(), 1);
    }
  }

  void captionsFromSettings() {
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options({{0, '1'}, {9, '1'}}),
                                "[cTool]", "BL1=Zur\xFC" "ck", "BL5=Stop", "BL10=Contents"})});
    TBB1 window(test::Book());
    QCOMPARE(window.SpeedButton[1]->text(), QStringLiteral("Zur\u00fcck"));
    QCOMPARE(window.SpeedButton[5]->text(), QStringLiteral("Stop"));
    QCOMPARE(window.SpeedButton[12]->text(), QStringLiteral("Contents"));
    QCOMPARE(window.SpeedButton[2]->text(), QString());
  }

  void toolbarAtBottomOrAbsent() {
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options({{1, '1'}, {33, '1'}})})});
    TBB1 bottom(test::Book());
    bottom.show();
    QVERIFY(bottom.Panel1->isVisible());
    QCOMPARE(bottom.Panel1->height(), 51);  // the default 45 + 6
    QVERIFY(bottom.Panel1->y() > bottom.Splitter1->y());

    // Hidden whatever the buttons, logo and position switches say.
    std::map<size_t, char> all;
    for (size_t i = 0; i < 34; ++i) all[i] = '1';
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options(all)})});
    TBB1 none(test::Book());
    none.show();
    QVERIFY(!none.Panel1->isVisible());
    QVERIFY(!none.Panel1->isEnabled());
    QVERIFY(none.WebBrowser1->height() > none.height() - 10);
    for (int i : kPlacementOrder) QVERIFY(none.SpeedButton[i]->isHidden());
  }

  void colours_data() {
    QTest::addColumn<QString>("background");  // bgColor, "" for absent
    QTest::addColumn<QString>("text");        // txColor
    QTest::addColumn<QColor>("panelColour");  // invalid: the default
    QTest::addColumn<QColor>("textColour");
    QTest::newRow("named colours") << "clRed" << "clNavy" << QColor(255, 0, 0)
                                   << QColor(0, 0, 0x80);
    QTest::newRow("integers, red in the lowest byte")
        << "255" << "$00FF00" << QColor(255, 0, 0) << QColor(0, 255, 0);
    QTest::newRow("text colour alone") << "" << "clMaroon" << QColor() << QColor(0x80, 0, 0);
    QTest::newRow("neither name nor integer keeps defaults")
        << "reddish" << "blue-ish" << QColor() << QColor();
  }
  void colours() {
    QFETCH(QString, background);
    QFETCH(QString, text);
    QFETCH(QColor, panelColour);
    QFETCH(QColor, textColour);
    std::vector<std::string> lines = {"[cSettings]", "DATA=" + Options({{0, '1'}}), "[cTool]"};
    if (!background.isEmpty()) lines.push_back("bgColor=" + background.toStdString());
    if (!text.isEmpty()) lines.push_back("txColor=" + text.toStdString());
    InstallBook({SettingsEntry(lines)});
    TBB1 window(test::Book());
    const QColor defaultPanel = window.palette().color(QPalette::Window);
    const QColor defaultText = QToolButton().palette().color(QPalette::ButtonText);
    QCOMPARE(window.Panel1->palette().color(QPalette::Window),
             panelColour.isValid() ? panelColour : defaultPanel);
    for (int i : kPlacementOrder) {
      QCOMPARE(window.SpeedButton[i]->palette().color(QPalette::ButtonText),
               textColour.isValid() ? textColour : defaultText);
    }
  }

  void systemColourFromPalette() {
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options({{0, '1'}}), "[cTool]",
                                "bgColor=clHighlight", "txColor=clBtnFace"})});
    TBB1 window(test::Book());
    QCOMPARE(window.Panel1->palette().color(QPalette::Window),
             window.palette().color(QPalette::Active, QPalette::Highlight));
    QCOMPARE(window.SpeedButton[1]->palette().color(QPalette::ButtonText),
             window.palette().color(QPalette::Active, QPalette::Button));
  }

  void bookPicturesWithTransparentColour() {
    // B5 (Stop): the bottom-left pixel's magenta is transparent wherever it appears.
    QImage stop(4, 4, QImage::Format_RGB32);
    stop.fill(QColor(255, 0, 255));
    stop.setPixel(1, 1, qRgb(10, 20, 30));
    stop.setPixel(2, 2, qRgb(255, 255, 255));
    // B10 (Content): a two-colour picture, white is transparent although the corner is black.
    QImage content(8, 8, QImage::Format_Mono);
    content.fill(0);  // colour index 0
    content.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    content.setPixel(3, 3, 1);
    const std::string contentBitmap = BitmapOf(content);
    QCOMPARE(int(contentBitmap[28]), 1);  // one bit per pixel
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options({{4, '1'}, {9, '1'}})}),
                 {"B5.QRLC", BitmapOf(stop)},
                 {"B10.QRLC", contentBitmap},
                 {"B3.QRLC", "not a bitmap"}});
    TBB1 window(test::Book());

    const QImage stopPicture = ButtonPicture(window, 5);
    QCOMPARE(stopPicture.size(), QSize(4, 4));
    QCOMPARE(qAlpha(stopPicture.pixel(0, 3)), 0);
    QCOMPARE(qAlpha(stopPicture.pixel(3, 0)), 0);
    QCOMPARE(stopPicture.pixel(1, 1), qRgba(10, 20, 30, 255));
    QCOMPARE(stopPicture.pixel(2, 2), qRgba(255, 255, 255, 255));

    const QImage contentPicture = ButtonPicture(window, 12);
    QCOMPARE(contentPicture.size(), QSize(8, 8));
    QCOMPARE(contentPicture.pixel(0, 7), qRgba(0, 0, 0, 255));
    QCOMPARE(qAlpha(contentPicture.pixel(3, 3)), 0);

    // Absent or unreadable entries keep the built-in 16 x 16 pictures.
    QCOMPARE(ButtonPicture(window, 3).size(), QSize(16, 16));
    QCOMPARE(ButtonPicture(window, 1).size(), QSize(16, 16));
    QVERIFY(!ButtonPicture(window, 9).isNull());
  }

  void logo_data() {
    QTest::addColumn<char>("logo");     // offset 15
    QTest::addColumn<char>("stretch");  // offset 16
    QTest::addColumn<bool>("entry");    // LOGO.QRLC present
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("width");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("stretched");
    QTest::newRow("book logo at its size") << '1' << '0' << true << true << 40 << QSize(40, 20)
                                           << false;
    QTest::newRow("book logo stretched") << '1' << '1' << true << true << 40 << QSize(40, 20)
                                         << true;
    QTest::newRow("no entry: empty and 0 wide") << '1' << '0' << false << true << 0 << QSize()
                                                << false;
    QTest::newRow("hidden") << '2' << '1' << true << false << 48 << QSize(32, 32) << false;
    QTest::newRow("built-in; stretching has no effect")
        << '0' << '1' << true << true << 48 << QSize(32, 32) << false;
  }
  void logo() {
    QFETCH(char, logo);
    QFETCH(char, stretch);
    QFETCH(bool, entry);
    QFETCH(bool, shown);
    QFETCH(int, width);
    QFETCH(QSize, picture);
    QFETCH(bool, stretched);
    std::vector<BookEntry> entries = {
        SettingsEntry({"[cSettings]", "DATA=" + Options({{15, logo}, {16, stretch}})})};
    if (entry) entries.push_back({"LOGO.QRLC", Bitmap(40, 20)});
    InstallBook(entries);
    TBB1 window(test::Book());
    window.show();
    QCOMPARE(window.Image1->isVisible(), shown);
    QCOMPARE(window.Image1->width(), width);
    QCOMPARE(window.Image1->pixmap().deviceIndependentSize().toSize(),
             picture.isValid() ? picture : QSize(0, 0));
    QCOMPARE(window.Image1->hasScaledContents(), stretched);
    if (shown && width > 0) QCOMPARE(window.Image1->height(), window.Panel1->height());
  }

  void logoClickOpensAddress_data() {
    QTest::addColumn<QString>("logoUrl");
    QTest::newRow("address") << "http://example.com/book";
    QTest::newRow("no address") << "";
  }
  void logoClickOpensAddress() {
    QFETCH(QString, logoUrl);
    InstallBook({SettingsEntry({"[cTool]", "logoURL=" + logoUrl.toStdString()})});
    TBB1 window(test::Book());
    window.show();
    QTest::mouseClick(window.Image1, Qt::LeftButton);
    const std::vector<std::string> expected =
        logoUrl.isEmpty() ? std::vector<std::string>{}
                          : std::vector<std::string>{logoUrl.toStdString()};
    QCOMPARE(opened_.targets, expected);
    // A logo with an address is a link the keyboard reaches and follows; one without is not.
    QCOMPARE(window.Image1->focusPolicy() == Qt::TabFocus, !logoUrl.isEmpty());
    opened_.targets.clear();
    QTest::keyClick(window.Image1, Qt::Key_Return);
    QTest::keyClick(window.Image1, Qt::Key_Space);
    QCOMPARE(opened_.targets.size(), logoUrl.isEmpty() ? 0u : 2u);
  }

  void buttonsRunTheirHandlers() {
    std::map<size_t, char> all;
    for (size_t i = 0; i < 10; ++i) all[i] = '1';
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options(all)})});
    TBB1 window(test::Book());
    QSignalSpy closed(&window, &TBB1::closed);
    window.show();
    QTest::mouseClick(window.SpeedButton[6], Qt::LeftButton);
    QVERIFY(window.SearchPanel->isVisible());
    QTest::mouseClick(window.SpeedButton[12], Qt::LeftButton);
    QVERIFY(window.TocPanel->isVisible());
    QVERIFY(!window.SearchPanel->isVisible());
    QTest::mouseClick(window.SpeedButton[9], Qt::LeftButton);
    QCOMPARE(closed.size(), 1);
  }
};

#include "ToolbarTest.moc"

EBOOK_VIEWER_TEST(ToolbarTest);
