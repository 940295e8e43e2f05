// Printing: a PDF file printed from the preview or saved with its "Save as PDF…" action is the
// engine's own vector PDF, with the page's text and the preview's page layout; a page's
// window.print() opens the preview from the book's pages only; `--print-to-pdf` writes the
// page start-up shows without a window. PDFs are read back with poppler's pdftotext and
// pdfinfo (scripts/setup.sh installs them).

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWebEnginePage>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "support/window/TestBook.h"
#include "support/window/TestClasses.h"
#include "support/window/WindowWaits.h"
#include "viewer/window/MainWindow.h"
#include "viewer/dialogs/PrintPreview.h"
#include "viewer/browser/WebBrowser.h"

using namespace ebook;
using namespace ebook::test;

namespace {

const QString kStart = QStringLiteral("ebook://book/start.htm");

std::vector<BookEntry> PrintBook() {
  return {SettingsEntry({"[cSettings]", "DATA=" + Options({{6, '1'}}), "home=start.htm",
                         "[cInfo]", "title=Printing"}),
          {"start.htm",
           "<title>Start</title><p>The lamplighter trims the wick.</p>"
           "<button id=print onclick=\"window.print()\">Print</button>"},
          {"other.htm", "<title>Other</title><p>Paraffin keeps the flame steady.</p>"}};
}

// The output of a poppler tool run on `pdf`; fails the test when the tool is missing.
QString Poppler(const QString& tool, const QStringList& arguments) {
  QProcess run;
  run.start(tool, arguments);
  if (!run.waitForStarted(-1)) {
    qWarning("%s is missing (poppler-utils): run scripts/setup.sh", qPrintable(tool));
    return QStringLiteral("<no %1>").arg(tool);
  }
  run.waitForFinished(-1);
  return QString::fromUtf8(run.readAllStandardOutput());
}

QString PdfText(const QString& pdf) {
  return Poppler(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).simplified();
}

// The first page's size in points; (0, 0) when pdfinfo cannot tell.
QSizeF PdfPageSize(const QString& pdf) {
  const QString info = Poppler(QStringLiteral("pdfinfo"), {pdf});
  const QRegularExpressionMatch size =
      QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
  if (!size.hasMatch()) return {};
  return {size.captured(1).toDouble(), size.captured(2).toDouble()};
}

// The engine rounds the paper to whole points.
bool SamePaper(const QSizeF& pdf, QPageSize::PageSizeId paper, QPageLayout::Orientation way) {
  QSizeF expected = QPageSize(paper).sizePoints();
  if (way == QPageLayout::Landscape) expected.transpose();
  return qAbs(pdf.width() - expected.width()) < 1.5 &&
         qAbs(pdf.height() - expected.height()) < 1.5;
}

// Runs `act` once the preview shows its pages; the preview is closed unless `act` closed it.
void WhenPreviewShowsPages(QPrintPreviewDialog& dialog,
                           std::function<void(QPrintPreviewDialog&)> act) {
  auto* poll = new QTimer(&dialog);
  QObject::connect(poll, &QTimer::timeout, &dialog, [poll, &dialog, act] {
    auto* preview = dialog.findChild<QPrintPreviewWidget*>();
    if (!preview || preview->pageCount() == 0) return;
    poll->stop();
    act(dialog);
    if (dialog.isVisible()) dialog.reject();
  });
  poll->start(10);
}

// Runs `act` on the next modal dialog of type T that opens (a nested event loop runs it).
template <typename T>
void WhenModalOpens(std::function<void(T&)> act) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, qApp, [poll, act] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog) return;
    poll->stop();
    poll->deleteLater();
    act(*dialog);
  });
  poll->start(10);
}

QAction* ActionCalled(QWidget& dialog, const QString& text) {
  for (QAction* action : dialog.findChildren<QAction*>()) {
    if (action->text() == text) return action;
  }
  return nullptr;
}

}  // namespace

class PrintTest : public QObject {
  Q_OBJECT

  QTemporaryDir scratch_;
  QStringList previewed_;  // the page shown at each preview

 private slots:
  void init() {
    ClearMessages();
    previewed_.clear();
    PrintPreview::SetDialogHook({});
  }
  void cleanup() {
    PrintPreview::SetDialogHook({});
    PrintPreview::SetSaveFileChooser({});
  }

  void printToFileFromThePreviewKeepsTheTextAndTheLayout() {
    InstallBook(PrintBook());
    TBB1 window(test::Book());
    window.show();  // the engine may never finish the PDF of a view never shown
    WaitForDocument(window);
    const QString pdf = scratch_.filePath(QStringLiteral("printed.pdf"));
    PrintPreview::SetDialogHook([&](QPrintPreviewDialog& preview) {
      WhenPreviewShowsPages(preview, [&](QPrintPreviewDialog& dialog) {
        // The reader's choices: Letter, landscape, to a file.
        QPrinter* printer = dialog.printer();
        printer->setPageSize(QPageSize(QPageSize::Letter));
        printer->setPageOrientation(QPageLayout::Landscape);
        printer->setOutputFileName(pdf);
        WhenModalOpens<QPrintDialog>([](QPrintDialog& print) { print.accept(); });
        QAction* print = ActionCalled(dialog, QStringLiteral("Print"));
        QVERIFY(print);
        print->trigger();
      });
    });
    window.SpeedButton7Click();
    QVERIFY(QFile::exists(pdf));
    QVERIFY2(PdfText(pdf).contains(QStringLiteral("The lamplighter trims the wick.")),
             qPrintable(PdfText(pdf)));
    QVERIFY(SamePaper(PdfPageSize(pdf), QPageSize::Letter, QPageLayout::Landscape));
    QVERIFY(Messages().empty());
  }

  void saveAsPdfWritesThePreviewLayout() {
    InstallBook(PrintBook());
    TBB1 window(test::Book());
    window.show();  // the engine may never finish the PDF of a view never shown
    WaitForDocument(window);
    window.WebBrowser1->Navigate(QStringLiteral("ebook://book/other.htm"));
    WaitUntil(
        [&] {
          return !window.WebBrowser1->Busy() &&
                 window.WebBrowser1->LocationURL().endsWith(QLatin1String("other.htm"));
        },
        "other.htm to finish loading");
    const QString pdf = scratch_.filePath(QStringLiteral("saved.pdf"));
    QString suggested;
    bool onToolBar = false;
    PrintPreview::SetDialogHook([&](QPrintPreviewDialog& preview) {
      WhenPreviewShowsPages(preview, [&](QPrintPreviewDialog& dialog) {
        dialog.printer()->setPageSize(QPageSize(QPageSize::A5));
        dialog.printer()->setPageOrientation(QPageLayout::Landscape);
        QAction* save = ActionCalled(dialog, QStringLiteral("Save as PDF\u2026"));
        QVERIFY(save);
        const auto* bar = dialog.findChild<QToolBar*>();
        onToolBar = bar && bar->actions().contains(save);
        PrintPreview::SetSaveFileChooser([&](QWidget&, const QString& proposed) {
          suggested = proposed;
          return pdf;
        });
        save->trigger();
        PrintPreview::SetSaveFileChooser({});
      });
    });
    window.SpeedButton7Click();
    QVERIFY(onToolBar);
    // The file dialog proposes the page's title.
    QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("Other.pdf"));
    QVERIFY(QFile::exists(pdf));
    QVERIFY2(PdfText(pdf).contains(QStringLiteral("Paraffin keeps the flame steady.")),
             qPrintable(PdfText(pdf)));
    QVERIFY(SamePaper(PdfPageSize(pdf), QPageSize::A5, QPageLayout::Landscape));
    QVERIFY(Messages().empty());
  }

  void windowPrintOpensThePreviewFromBookPagesOnly() {
    InstallBook(PrintBook());
    TBB1 window(test::Book());
    window.show();
    WaitForDocument(window);
    PrintPreview::SetDialogHook([&](QPrintPreviewDialog& preview) {
      previewed_ << window.WebBrowser1->LocationURL();
      WhenPreviewShowsPages(preview, [](QPrintPreviewDialog&) {});
    });
    // The page's own print button.
    RunScript(window.WebBrowser1->Document(), QStringLiteral("document.getElementById('print').click()"));
    WaitUntil([&] { return previewed_.size() == 1; },
              "the page's print button to open the preview");

    // A web page the reader has reached from the book.
    window.WebBrowser1->Document()->setHtml(
        QStringLiteral("<button id=print onclick=\"window.print()\">Print</button>"),
        QUrl(QStringLiteral("https://example.com/")));
    WaitForLocation(window, QStringLiteral("https://example.com/"));
    RunScript(window.WebBrowser1->Document(), QStringLiteral("window.print(); 1"));
    // Back in the book, a print request after that one opens the preview again.
    window.WebBrowser1->Navigate(kStart);
    WaitForDocument(window);
    RunScript(window.WebBrowser1->Document(), QStringLiteral("window.print(); 1"));
    WaitUntil([&] { return previewed_.size() >= 2; }, "the book page to open the preview again");
    QCOMPARE(previewed_, (QStringList{kStart, kStart}));
  }

  void printToPdfFromTheCommandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("word");
    QTest::newRow("the start page")
        << QStringList{"--print-to-pdf", "out.pdf"} << "The lamplighter trims the wick.";
    QTest::newRow("the page argument first")
        << QStringList{"other.htm", "--print-to-pdf", "out.pdf"}
        << "Paraffin keeps the flame steady.";
  }
  void printToPdfFromTheCommandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, word);
    const QString book = WriteBookFile();
    // A relative path counts from the folder the reader started the book in.
    const QString folder = scratch_.filePath(QStringLiteral("started-here"));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QProcess run;
    run.setWorkingDirectory(folder);
    run.start(book, arguments);
    QVERIFY(run.waitForFinished(-1));
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), 0);
    const QString pdf = QDir(folder).filePath(QStringLiteral("out.pdf"));
    QCOMPARE(QString::fromLocal8Bit(run.readAllStandardOutput()).trimmed(), pdf);
    QVERIFY2(PdfText(pdf).contains(word), qPrintable(PdfText(pdf)));
  }

  void printToPdfThatCannotBeWrittenFails() {
    QProcess run;
    run.start(WriteBookFile(), {QStringLiteral("--print-to-pdf"),
                                scratch_.filePath(QStringLiteral("no/such/folder/out.pdf"))});
    QVERIFY(run.waitForFinished(-1));
    QCOMPARE(run.exitCode(), 1);
    QVERIFY(QString::fromLocal8Bit(run.readAllStandardError()).contains(QLatin1String("cannot write")));
  }

 private:
  // The real viewer with PrintBook appended, as a book file.
  QString WriteBookFile() {
    const QString path = scratch_.filePath(QStringLiteral("book.run"));
    if (QFile::exists(path)) return path;
    std::ifstream viewer(EBOOK_VIEWER_PATH, std::ios::binary);
    std::string image(std::istreambuf_iterator<char>(viewer), {});
    image += EncodeArchive(PrintBook());
    std::ofstream(path.toStdString(), std::ios::binary) << image;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
  }
};

#include "PrintTest.moc"

EBOOK_VIEWER_TEST(PrintTest);
