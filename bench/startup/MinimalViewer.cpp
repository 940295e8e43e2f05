// The yardstick for the viewer's start-up: the least a Qt WebEngine program does to show one
// page of a book from memory. It reads the book file, serves its entries under a scheme of its
// own and loads one page in a bare view; when the page has loaded it prints "loaded" and ends.
//
//   ebook_startup_minimal BOOKFILE PAGE

#include <QApplication>
#include <QBuffer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>
#include <iostream>

#include "archive/BookImage.h"

namespace {

class Handler : public QWebEngineUrlSchemeHandler {
 public:
  explicit Handler(const ebook::BookImage& book) : book_(book) {}
  void requestStarted(QWebEngineUrlRequestJob* job) override {
    const std::string name = job->requestUrl().path().mid(1).toStdString();
    const std::string content = book_.ReadEntry(name);
    auto* body = new QBuffer(job);
    body->setData(content.data(), static_cast<qsizetype>(content.size()));
    job->reply("text/html", body);
  }

 private:
  const ebook::BookImage& book_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: ebook_startup_minimal BOOKFILE PAGE\n";
    return 2;
  }
  QWebEngineUrlScheme scheme("mini");
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
  QWebEngineUrlScheme::registerScheme(scheme);
  const ebook::BookImage book = ebook::BookImage::FromFile(argv[1]);
  QApplication app(argc, argv);
  Handler handler(book);
  QWebEngineProfile::defaultProfile()->installUrlSchemeHandler("mini", &handler);
  QWebEngineView view;
  QObject::connect(&view, &QWebEngineView::loadFinished, [](bool) {
    std::cout << "loaded" << std::endl;
    QCoreApplication::exit(0);
  });
  view.load(QUrl(QStringLiteral("mini://book/") + QString::fromLocal8Bit(argv[2])));
  view.resize(640, 480);
  view.show();
  return app.exec();
}
