#pragma once
// Temp-folder mode serves the book as plain files. Books store their file names in upper case
// and their pages link them in whatever case the author wrote, which a case-insensitive file
// system forgives and this one does not: a request for a file of the book's folder that does
// not exist is sent on to the file whose name differs only in ASCII letter case.
//
// Book pages read files of their own folder only. A request for a file outside the folder
// that names a file of the book when read from the folder's top (a site's "/license.html",
// which a page opened as a file turns into file:///license.html) is sent to that file; every
// other file: request outside the folder is blocked. A book page's scripts connect to nothing
// but the book (BookRequestRules.h).

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

// What a file: request for `path` gets in temp-folder mode: `path` itself (a file of the
// folder as written), another file of the folder (letter case, or `path` read from the
// folder's top), or "" when it must be blocked.
QString BookFileForRequest(const QString& folder, const QString& path);

}  // namespace ebook
