#pragma once
// Protocol mode for one browser profile: the handler for the book scheme, the file: blocker
// and the fetch() bridge, installed together and withdrawn together. The handler serves the
// book this object is handed, which must outlive it.

#include <QObject>
#include <QString>

class QWebEngineProfile;

namespace ebook {

class BookContent;
class TeProtocol;
class FileRequestBlocker;

class BookNamespace : public QObject {
  Q_OBJECT
 public:
  explicit BookNamespace(const BookContent& book, QObject* parent = nullptr);
  ~BookNamespace() override;

  // Installs everything on `profile`, which must outlive this object or Unregister.
  void Register(QWebEngineProfile* profile);
  // Withdraws what Register installed; does nothing when not registered.
  void Unregister();

  bool registered() const { return profile_ != nullptr; }
  TeProtocol* handler() const { return handler_; }

 private:
  QWebEngineProfile* profile_ = nullptr;
  TeProtocol* handler_;
  FileRequestBlocker* blocker_;
};

}  // namespace ebook
