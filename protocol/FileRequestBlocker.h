#pragma once
// Book pages are a local origin, and local content may read file: addresses. A book has no
// business reading the reader's files, so while the book is served from memory every file:
// request is blocked, and a book page's scripts connect to nothing but the book
// (BookRequestRules.h).

#include <QWebEngineUrlRequestInterceptor>

namespace ebook {

class FileRequestBlocker : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT
 public:
  explicit FileRequestBlocker(QObject* parent = nullptr);

  void setActive(bool on) { active_ = on; }

  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

 private:
  bool active_ = false;
};

}  // namespace ebook
