// Books shaped like the output of documentation generators (Sphinx, DocBook, hand-written UTF-8
// sites), served from memory: links into sections of other pages, style sheets with
// cache-busting queries, pictures written with "//", pages and settings in UTF-8, and the
// contents following the page the reader is on.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "contents/TocStream.h"
#include "contents/TocText.h"
#include "viewer/window/MainWindow.h"
#include "viewer/widgets/TTreeViewEx.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;

namespace {

const std::string kUtf8Word = "s\xC3\xA9" "curit\xC3\xA9";  // sécurité

void InstallDocumentationBook() {
  const std::string toc =
      "Pr\xC3\xA9" "face\tindex.html\n"
      "  What\xE2\x80\x99s New\twhatsnew.html\n"
      "Glossary\tglossary.html\n"
      "  The wick\tglossary.html#term-wick\n";
  InstallBook({
      SettingsEntry({"[cSettings]", "DATA=" + Options({{0, '1'}, {1, '1'}, {19, '0'}}),
                     "home=index.html", "[cInfo]", "title=Pr\xC3\xA9" "face \xE2\x80\x94 Guide",
                     "[cTool]", "BL1=Pr\xC3\xA9" "c\xC3\xA9" "dent", "BL2=Suivant",
                     "[PFiles]", "UseTOC=1", "UseTOCauto=1"}),
      {"XTOC.QRLC", WriteTocStream(ParseTocText(toc))},
      // Sphinx: a theme with a cache-busting query, links into sections of other pages.
      {"index.html",
       "<!DOCTYPE html><html><head><title>Pr\xC3\xA9" "face</title>"
       "<link rel=\"stylesheet\" href=\"_static/theme.css?v=2022.1\"></head><body>"
       "<p id=\"text\">La " + kUtf8Word + " d\xE2\x80\x99" "abord</p>"
       "<a id=\"wick\" href=\"glossary.html#term-wick\">wick</a>"
       "<a id=\"other\" href=\"notes.txt\">notes</a></body></html>"},
      {"_static/theme.css", "body { color: rgb(4, 5, 6); }"},
      {"whatsnew.html", "<title>What&#8217;s New</title><p>new</p>"},
      {"glossary.html",
       "<html><head><meta charset=\"utf-8\"><title>Glossary</title></head><body>"
       "<div style=\"height: 3000px\">top</div><dt id=\"term-wick\">wick</dt>"
       "<p>S\xC3\x89" "CURIT\xC3\x89</p></body></html>"},
      // DocBook: XHTML with attributes on its title and pictures written with "//".
      {"ch01.html",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html><head>"
       "<title xmlns:d=\"http://docbook.org/ns/docbook\">Chapter&#160;1</title></head>"
       "<body><img id=\"logo\" src=\"images//logo.bmp\"></body></html>"},
      {"images/logo.bmp", Bitmap(9, 4)},
      {"legacy.htm", "<title>Caf\xE9</title><p>s\xE9" "curit\xE9</p>"},
      {"notes.txt", "Notes \xE2\x80\x94 " + kUtf8Word},
  });
}

QWebEnginePage* Page(TBB1& window) { return window.WebBrowser1->engineView()->page(); }

// A mouse click on the element with `id`, as a reader's: the page sees a user's gesture.
void ClickElement(TBB1& window, const char* id) {
  const QVariantList box =
      RunScript(Page(window), QStringLiteral("(function(){const r=document.getElementById('%1')"
                                             ".getBoundingClientRect();return [r.x+r.width/2,r.y+r.height/2];})()")
                                  .arg(QLatin1String(id)))
          .toList();
  QWidget* view = window.WebBrowser1->engineView()->focusProxy();
  QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(box.value(0).toInt(), box.value(1).toInt()));
}

QString Selected(TBB1& window) {
  TTreeViewEx::Node* node = window.TOCtree->Selected();
  return node ? node->text(0) : QString();
}

}  // namespace

class RealBooksTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { InstallDocumentationBook(); }

  void anchoredPagesShowTheirContent() {
    TBB1 window(test::Book(), QStringLiteral("glossary.html#term-wick"));
    window.show();
    WaitForPage(window);
    QCOMPARE(RunScript(Page(window), "document.title").toString(), QStringLiteral("Glossary"));
    QCOMPARE(RunScript(Page(window), "location.hash").toString(), QStringLiteral("#term-wick"));
    // The browser scrolled to the section.
    WaitUntil([&] { return RunScript(Page(window), "window.scrollY").toInt() > 1000; },
              "the page to scroll to #term-wick");
    OpenAndWait(window, QStringLiteral("ebook://book/whatsnew.html?highlight=x#top"));
    QCOMPARE(RunScript(Page(window), "document.body.textContent").toString(), QStringLiteral("new"));
  }

  void stylesPicturesAndTextReachThePage() {
    TBB1 window(test::Book());
    window.show();
    WaitForPage(window);
    QCOMPARE(RunScript(Page(window), "getComputedStyle(document.body).color").toString(),
             QStringLiteral("rgb(4, 5, 6)"));
    // UTF-8 without a declared charset reads as UTF-8.
    QCOMPARE(RunScript(Page(window), "document.getElementById('text').textContent").toString(),
             QStringLiteral("La s\u00e9curit\u00e9 d\u2019abord"));
    OpenAndWait(window, QStringLiteral("ebook://book/ch01.html"));
    QCOMPARE(RunScript(Page(window), "document.getElementById('logo').naturalWidth").toInt(), 9);
    OpenAndWait(window, QStringLiteral("ebook://book/legacy.htm"));
    QCOMPARE(RunScript(Page(window), "document.querySelector('p').textContent").toString(),
             QStringLiteral("s\u00e9curit\u00e9"));
    OpenAndWait(window, QStringLiteral("ebook://book/notes.txt"));
    QCOMPARE(RunScript(Page(window), "document.body.textContent").toString(),
             QStringLiteral("Notes \u2014 s\u00e9curit\u00e9"));
  }

  void settingsAndContentsInUtf8() {
    TBB1 window(test::Book());
    QCOMPARE(window.windowTitle(), QStringLiteral("Pr\u00e9face \u2014 Guide"));
    QCOMPARE(window.SpeedButton[1]->text(), QStringLiteral("Pr\u00e9c\u00e9dent"));
    QCOMPARE(window.TOCtree->topLevelItem(0)->text(0), QStringLiteral("Pr\u00e9face"));
    QCOMPARE(window.TOCtree->topLevelItem(0)->child(0)->text(0), QStringLiteral("What\u2019s New"));
  }

  void contentsFollowThePageShown() {
    TBB1 window(test::Book());
    window.show();
    WaitForPage(window);
    QCOMPARE(Selected(window), QStringLiteral("Pr\u00e9face"));
    // A reader's click on a link into a section: the node naming that section exactly, and no
    // second navigation for selecting it.
    QSignalSpy navigations(window.WebBrowser1, &WebBrowser::BeforeNavigate2);
    ClickElement(window, "wick");
    WaitUntil([&] { return Selected(window) == QLatin1String("The wick"); },
              "the contents panel to select The wick");
    WaitForPage(window);
    QCOMPARE(navigations.size(), 1);
    // Back: the page before, and its node.
    WaitUntil([&] { return window.CanGoBack; }, "Back to be enabled");
    window.SpeedButton1Click();
    WaitUntil([&] { return Selected(window) == QStringLiteral("Pr\u00e9face"); },
              "the contents panel to select Pr\u00e9face again");
    // A page no node names leaves the selection where it was.
    OpenAndWait(window, QStringLiteral("ebook://book/legacy.htm"));
    QCOMPARE(Selected(window), QStringLiteral("Pr\u00e9face"));
    // A section no node names: the node of its page.
    // The contents follow the address the browser reports, which can come after the load end.
    OpenAndWait(window, QStringLiteral("ebook://book/whatsnew.html#changes"));
    WaitUntil([&] { return Selected(window) == QStringLiteral("What\u2019s New"); },
              "the contents panel to select What\u2019s New");
    // The page named on the command line.
    TBB1 second(test::Book(), QStringLiteral("glossary.html"));
    WaitForPage(second);
    WaitUntil([&] { return Selected(second) == QLatin1String("Glossary"); },
              "the second window's contents panel to select Glossary");
  }

  void tempFolderPagesInEitherEncoding() {
    QTemporaryDir temp;
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    InstallBook({SettingsEntry({"[cSettings]", "DATA=" + Options({{17, '1'}}), "home=index.html"}),
                 {"index.html", "<p id=\"text\">La " + kUtf8Word + "</p>"},
                 {"legacy.htm", "<p id=\"text\">s\xE9" "curit\xE9</p>"},
                 {"notes.txt", kUtf8Word}});
    {
      TBB1 window(test::Book());
      WaitForPage(window);
      QCOMPARE(RunScript(Page(window), "document.getElementById('text').textContent").toString(),
               QStringLiteral("La s\u00e9curit\u00e9"));
      OpenAndWait(window, window.BookBaseUrl + QStringLiteral("LEGACY.HTM"));
      QCOMPARE(RunScript(Page(window), "document.getElementById('text').textContent").toString(),
               QStringLiteral("s\u00e9curit\u00e9"));
      OpenAndWait(window, window.BookBaseUrl + QStringLiteral("NOTES.TXT"));
      QCOMPARE(RunScript(Page(window), "document.body.textContent").toString(),
               QStringLiteral("s\u00e9curit\u00e9"));
    }
    qunsetenv("TMPDIR");
  }

  void searchFindsEveryEncodingAndShowsDecodedTitles() {
    TBB1 window(test::Book());
    window.show();
    WaitForPage(window);
    window.SpeedButton6Click();
    window.Edit1->setText(QStringLiteral(" S\u00c9CURIT\u00c9 "));
    window.Button1Click();
    WaitForSearch(window);
    QStringList captions;
    for (int i = 0; i < window.SearchTree->topLevelItemCount(); ++i)
      captions << window.SearchTree->topLevelItem(i)->text(0);
    // Archive order: sub-folder files first, then the top folder's by name.
    QCOMPARE(captions, (QStringList{QStringLiteral("Glossary"), QStringLiteral("Pr\u00e9face"),
                                    QStringLiteral("Caf\u00e9"), QStringLiteral("NOTES.TXT")}));
    QCOMPARE(window.Label3->text(), QStringLiteral("4 Pages found"));
  }
};

#include "RealBooksTest.moc"

EBOOK_VIEWER_TEST(RealBooksTest);
