#include "viewer/dialogs/WelcomeWindow.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "viewer/dialogs/RecentBooks.h"

namespace ebook {

WelcomeWindow::WelcomeWindow(const QString& problem, QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("QUIREL eBook"));
  auto* layout = new QVBoxLayout(this);
  Intro = new QLabel(QStringLiteral(
      "<h3>QUIREL eBook</h3>"
      "<p>This is the viewer for QUIREL eBook books: single files that hold a whole book "
      "of HTML pages. A book file usually starts by itself; this viewer opens one that "
      "cannot, such as a book just downloaded.</p>"));
  Intro->setWordWrap(true);
  layout->addWidget(Intro);
  Problem = new QLabel(problem);
  Problem->setWordWrap(true);
  Problem->setVisible(!problem.isEmpty());
  layout->addWidget(Problem);
  OpenButton = new QPushButton(QStringLiteral("&Open a book file..."));
  connect(OpenButton, &QPushButton::clicked, this, &WelcomeWindow::OpenButtonClick);
  layout->addWidget(OpenButton, 0, Qt::AlignLeft);

  RecentLabel = new QLabel(QStringLiteral("Books opened last:"));
  RecentList = new QListWidget;
  RecentLabel->setBuddy(RecentList);
  RecentList->setAccessibleName(QStringLiteral("Books opened last"));
  for (const QString& path : RecentBooks()) {
    auto* item = new QListWidgetItem(QFileInfo(path).fileName(), RecentList);
    item->setToolTip(path);
    item->setData(Qt::UserRole, path);
  }
  const bool anyRecent = RecentList->count() > 0;
  RecentLabel->setVisible(anyRecent);
  RecentList->setVisible(anyRecent);
  connect(RecentList, &QListWidget::itemActivated, this, &WelcomeWindow::RecentListActivated);
  layout->addWidget(RecentLabel);
  layout->addWidget(RecentList, 1);
  if (!anyRecent) layout->addStretch(1);
  resize(480, anyRecent ? 360 : 200);
}

void WelcomeWindow::OpenButtonClick() {
  const QString path = QFileDialog::getOpenFileName(
      this, QStringLiteral("Open a book file"), QString(),
      QStringLiteral("Books (*.ebook *.run);;All files (*)"));
  if (!path.isEmpty()) emit bookChosen(path);
}

void WelcomeWindow::RecentListActivated() {
  if (QListWidgetItem* item = RecentList->currentItem())
    emit bookChosen(item->data(Qt::UserRole).toString());
}

}  // namespace ebook
