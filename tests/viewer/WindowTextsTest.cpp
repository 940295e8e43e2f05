// The window's texts as the book plans them: captions in the interface font fit their buttons,
// a caption that cannot fit is condensed, then elided in the middle with the whole caption in
// its tooltip; the About box's footer fits; the panels' titles and the words after the number
// of pages found come from the book, with today's texts as defaults.

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <memory>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "settings/IniText.h"
#include "viewer/dialogs/AboutBox.h"
#include "viewer/widgets/CaptionButton.h"
#include "viewer/widgets/InterfaceFont.h"
#include "viewer/window/MainWindow.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;

namespace {

// SpeedButton1 ... SpeedButton9 and SpeedButton12 with their caption keys BL1 ... BL10.
const QList<QPair<int, int>> kCaptionKeys = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5},
                                             {6, 6}, {7, 7}, {8, 8}, {9, 9}, {12, 10}};

std::string AllButtons() {
  std::map<size_t, char> shown;
  for (size_t i = 0; i < 10; ++i) shown[i] = '1';
  return Options(shown);
}

CaptionButton* Button(TBB1& window, int i) {
  return qobject_cast<CaptionButton*>(window.SpeedButton[i]);
}

// The tooltip the button shows when the mouse rests on it ("" for none).
QString TooltipShown(QWidget* button) {
  QToolTip::hideText();
  const QPoint at = button->rect().center();
  QHelpEvent help(QEvent::ToolTip, at, button->mapToGlobal(at));
  QApplication::sendEvent(button, &help);
  return QToolTip::isVisible() ? QToolTip::text() : QString();
}

}  // namespace

class WindowTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { ClearMessages(); }

  void interfaceFontIsTheDesignSize() {
    // MS Sans Serif 8 point at 96 dpi: an em of 11 pixels, scaled with the layout.
    QCOMPARE(QApplication::font().pixelSize(), kInterfacePixelSize);
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + AllButtons()})});
    TBB1 window(test::Book());
    QCOMPARE(QFontInfo(window.SpeedButton[1]->font()).pixelSize(), kInterfacePixelSize);
    TBB2 about(&window);
    QCOMPARE(QFontInfo(about.Label1->font()).pixelSize(), kInterfacePixelSize);
  }

  void sampleBookCaptionsFitTheDefaultWidth() {
    QFile settings(QStringLiteral(EBOOK_SAMPLES_DIR "/book.ini"));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    // The file has LF line ends; the book tool stores it with CR LF.
    const IniText sample(settings.readAll().replace("\r\n", "\n").replace("\n", "\r\n").toStdString());
    std::vector<std::string> lines = {"[cSettings]", "DATA=" + AllButtons(), "[cTool]"};
    for (const auto& [button, key] : kCaptionKeys) {
      const std::string name = "BL" + std::to_string(key);
      const std::string caption = sample.ReadString("cTool", name, "");
      QVERIFY2(!caption.empty(), name.c_str());
      lines.push_back(name + "=" + caption);
    }
    InstallBook({SettingsEntry(lines)});
    TBB1 window(test::Book());
    window.show();
    for (const auto& [i, key] : kCaptionKeys) {
      CaptionButton* button = Button(window, i);
      QVERIFY(button);
      QCOMPARE(button->width(), 48);
      const FittedCaption shown = button->fittedCaption();
      QVERIFY2(!shown.elided, qPrintable(button->text()));
      QCOMPARE(shown.text, button->text());
      QVERIFY(QFontMetrics(shown.font).horizontalAdvance(shown.text) <= button->captionWidth());
      QCOMPARE(TooltipShown(button), QString());
    }
  }

  void captionTooLongIsElidedInTheMiddle_data() {
    QTest::addColumn<QString>("caption");
    QTest::newRow("German contents") << QStringLiteral("Inhaltsverzeichnis");
    QTest::newRow("French search") << QStringLiteral("Rechercher maintenant");
    QTest::newRow("one long word") << QStringLiteral("Wwwwwwwwwwwwwwwwwwwwwwwwwwwwww");
  }
  void captionTooLongIsElidedInTheMiddle() {
    QFETCH(QString, caption);
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + AllButtons(), "[cTool]",
                                "BL10=" + caption.toStdString()})});
    TBB1 window(test::Book());
    window.show();
    CaptionButton* button = Button(window, 12);
    const FittedCaption shown = button->fittedCaption();
    QVERIFY(shown.elided);
    // The caption stays whole for everything else that reads it.
    QCOMPARE(button->text(), caption);
    const qsizetype ellipsis = shown.text.indexOf(QChar(0x2026));
    QVERIFY2(ellipsis > 0 && ellipsis < shown.text.size() - 1, qPrintable(shown.text));
    QCOMPARE(shown.text.front(), caption.front());
    QCOMPARE(shown.text.back(), caption.back());
    QVERIFY(QFontMetrics(shown.font).horizontalAdvance(shown.text) <= button->captionWidth());
    QCOMPARE(TooltipShown(button), caption);
  }

  void captionSlightlyTooWideIsCondensedNotElided() {
    const QFont font = InterfaceFont(QApplication::font());
    const QString caption = QStringLiteral("Contents of it");
    const int width = QFontMetrics(font).horizontalAdvance(caption) - 2;
    const FittedCaption shown = FitCaption(caption, font, width);
    QVERIFY(!shown.elided);
    QCOMPARE(shown.text, caption);
    QVERIFY(shown.font.stretch() < 100);
    QVERIFY(QFontMetrics(shown.font).horizontalAdvance(caption) <= width);
    // A caption that fits keeps the font as it is.
    QCOMPARE(FitCaption(caption, font, width + 2).font.stretch(), font.stretch());
  }

  void aboutBoxFooterFits() {
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + AllButtons()})});
    TBB1 window(test::Book());
    TBB2 about(&window);
    const QLabel* footer = about.Label1;
    QCOMPARE(footer->text(), QStringLiteral("Created with Quirel eBook Compiler"));
    QVERIFY2(footer->fontMetrics().horizontalAdvance(footer->text()) <= footer->width(),
             qPrintable(QStringLiteral("%1 > %2 (%3)").arg(footer->fontMetrics().horizontalAdvance(footer->text())).arg(footer->width()).arg(footer->font().toString())));
    QVERIFY(footer->fontMetrics().height() <= footer->height());
    QVERIFY(footer->geometry().right() < about.Button1->x());
    QVERIFY(footer->geometry().bottom() < about.height());
    QCOMPARE(about.size(), QSize(361, 277));
  }

  void panelTextsFromTheBook_data() {
    QTest::addColumn<QByteArrayList>("settings");
    QTest::addColumn<QString>("contents");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("found");
    QTest::newRow("absent: today's texts")
        << QByteArrayList{} << "Table of Contents" << "Search" << "2 Pages found";
    QTest::newRow("French, in Windows-1252")
        << QByteArrayList{"[PFiles]", "TOCtitle=Sommaire", "[search]", "title=Recherche",
                       "found=pages trouv\xE9" "es"}
        << "Sommaire" << "Recherche" << QStringLiteral("2 pages trouv\u00e9es");
    QTest::newRow("letter case of keys ignored")
        << QByteArrayList{"[pfiles]", "toctitle=Inhalt", "[SEARCH]", "TITLE=Suche",
                       "FOUND=Seiten gefunden"}
        << "Inhalt" << "Suche" << "2 Seiten gefunden";
  }
  void panelTextsFromTheBook() {
    QFETCH(QByteArrayList, settings);
    QFETCH(QString, contents);
    QFETCH(QString, search);
    QFETCH(QString, found);
    std::vector<std::string> lines = {"[cSettings]", "DATA=" + AllButtons(), "home=a.htm"};
    for (const QByteArray& line : settings) lines.push_back(line.toStdString());
    InstallBook({SettingsEntry(lines), {"a.htm", "<title>A</title>lamp"},
                 {"b.htm", "<title>B</title>lamp"}});
    TBB1 window(test::Book());
    WaitForDocument(window);
    QCOMPARE(window.TocLabel->text(), contents);
    QCOMPARE(window.SearchLabel->text(), search);
    QCOMPARE(window.TocPanel->accessibleName(), contents);
    QCOMPARE(window.SearchPanel->accessibleName(), search);
    window.Edit1->setText(QStringLiteral("lamp"));
    window.Button1Click();
    WaitForSearch(window);
    QCOMPARE(window.Label3->text(), found);
  }
};

#include "WindowTextsTest.moc"

EBOOK_VIEWER_TEST(WindowTextsTest);
