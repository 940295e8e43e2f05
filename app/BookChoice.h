#pragma once
// Which book this process shows, decided before anything else runs:
//   - the book file a launcher started the viewer for (EBOOK_BOOK_FILE, taken out of the
//     environment so that nothing the viewer starts inherits it);
//   - else the running program itself, when it carries an archive: a book started directly;
//   - else (a bare, installed viewer) the file named by the first argument, when that file
//     holds an archive: `ebook BOOKFILE [PAGE]`. It need not be executable.
// A book with an archive of its own always reads its first argument as a page name.
// A viewer started from a portable book's runtime also takes the reader's own environment
// back for the programs it starts (TakeRuntimeEnvironment, platform/Shell.h).

#include <QString>
#include <QStringList>

namespace ebook {

struct BookChoice {
  enum class Kind {
    Book,        // a book to show; its arguments follow
    NoBook,      // a bare viewer without a book: the welcome window
    NotABook,    // a bare viewer given a file that holds no book (or no such file)
    Help,        // --help as the first argument, and the book has no entry of that name
    Version,     // --version, likewise
  };
  Kind kind = Kind::Book;
  QString bookArgument;  // the argument that named the book file; empty when none did
  QString problem;       // NotABook: what is wrong with bookArgument
};

// Decides, loading ExeImage from the book file it chooses (SetBookFile). `arguments`: the
// raw arguments after argv[0], the viewer's own options taken out.
BookChoice ChooseBook(const QStringList& arguments);

// The arguments that follow the book: `arguments` without the one that named the book file.
QStringList ArgumentsAfterBook(const QStringList& arguments, const BookChoice& choice);

// The texts of --help and --version.
QString ViewerUsage();
QString ViewerVersion();

}  // namespace ebook
