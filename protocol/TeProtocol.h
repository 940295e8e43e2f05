#pragma once
// The book's namespace handler: answers every request for a book address from the book it is
// handed. The main window hands its book to BookNamespace, which makes this handler with it;
// the book must outlive the handler. One handler serves the whole process; each request is
// answered completely before requestStarted returns, so nothing is kept between requests.
//
//   - base address + name: the inflated entry of that name (see EntryNameFromUrl), or an
//     empty, successful answer when there is none;
//   - an entry whose data cannot be inflated: the request fails (the browser shows its error
//     page);
//   - requests from anything but a book page or the viewer itself: refused.

#include <QWebEngineUrlSchemeHandler>

namespace ebook {

class BookContent;

class TeProtocol : public QWebEngineUrlSchemeHandler {
  Q_OBJECT
 public:
  explicit TeProtocol(const BookContent& book, QObject* parent = nullptr);

  // Set once the handler has been installed; until then every answer is empty.
  void setProtocolMode(bool on) { protocolMode_ = on; }
  bool protocolMode() const { return protocolMode_; }

  void requestStarted(QWebEngineUrlRequestJob* job) override;

 private:
  const BookContent& book_;
  bool protocolMode_ = false;
};

}  // namespace ebook
