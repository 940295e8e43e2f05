// The installed viewer without a book: the welcome window and the books opened last.

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "support/window/TestClasses.h"
#include "viewer/dialogs/RecentBooks.h"
#include "viewer/dialogs/WelcomeWindow.h"

using namespace ebook;

class WelcomeWindowTest : public QObject {
  Q_OBJECT
  QTemporaryDir books_;

  QString Book(const QString& name) {
    const QString path = books_.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write("book");
    return path;
  }

 private slots:
  void theBooksOpenedLastComeNewestFirstWithoutGoneFiles() {
    const QString a = Book(QStringLiteral("a.ebook")), b = Book(QStringLiteral("b.ebook"));
    const QString gone = Book(QStringLiteral("gone.ebook"));
    RememberRecentBook(a);
    RememberRecentBook(gone);
    RememberRecentBook(b);
    RememberRecentBook(a);
    QFile::remove(gone);
    QCOMPARE(RecentBooks(), (QStringList{a, b}));

    for (int i = 0; i < kRecentBooksKept + 3; ++i)
      RememberRecentBook(Book(QStringLiteral("many%1.ebook").arg(i)));
    QCOMPARE(RecentBooks().size(), kRecentBooksKept);
    QCOMPARE(RecentBooks().first(), books_.filePath(QStringLiteral("many%1.ebook").arg(kRecentBooksKept + 2)));
  }

  void saysWhatItIsAndOffersTheBooksOpenedLast() {
    const QString a = Book(QStringLiteral("first.ebook"));
    const QString b = Book(QStringLiteral("second.ebook"));
    RememberRecentBook(a);
    RememberRecentBook(b);
    WelcomeWindow window;
    window.show();
    QVERIFY(window.Intro->text().contains(QLatin1String("viewer for QUIREL eBook books")));
    QVERIFY(!window.Problem->isVisible());
    QVERIFY(window.OpenButton->isVisible());
    QVERIFY(window.RecentList->isVisible());
    QCOMPARE(window.RecentList->item(0)->text(), QStringLiteral("second.ebook"));
    QCOMPARE(window.RecentList->item(1)->text(), QStringLiteral("first.ebook"));

    QSignalSpy chosen(&window, &WelcomeWindow::bookChosen);
    window.RecentList->setCurrentRow(1);
    emit window.RecentList->itemActivated(window.RecentList->item(1));
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.first().first().toString(), a);
  }

  void aFileThatIsNoBookIsNamed() {
    WelcomeWindow window(QStringLiteral("notes.txt is not a book file."));
    window.show();
    QVERIFY(window.Problem->isVisible());
    QCOMPARE(window.Problem->text(), QStringLiteral("notes.txt is not a book file."));
  }
};

#include "WelcomeWindowTest.moc"

EBOOK_VIEWER_TEST(WelcomeWindowTest);
