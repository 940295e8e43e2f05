#pragma once
// Temp-folder mode serves the book as plain files. Books store their file names in upper case
// and their pages link them in whatever case the author wrote, which a case-insensitive file
// system forgives and this one does not: a request for a file of the book's folder that does
// not exist is sent on to the file whose name differs only in ASCII letter case.

#include <QString>
#include <QWebEngineUrlRequestInterceptor>

namespace ebook {

class TempFolderRequests : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT
 public:
  // `folder`: the extracted book's folder, "/"-terminated.
  explicit TempFolderRequests(const QString& folder, QObject* parent = nullptr);

  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

 private:
  const QString folder_;
};

// The existing file of `folder` that `path` names without regard to ASCII case, or "" when
// `path` lies outside `folder`, exists as written, or matches nothing.
QString CaseFoldedBookFile(const QString& folder, const QString& path);

}  // namespace ebook
