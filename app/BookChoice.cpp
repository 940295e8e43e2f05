#include "BookChoice.h"

#include <QFileInfo>
#include <cstdlib>
#include <exception>

#include "archive/BookImage.h"
#include "platform/Shell.h"
#include "platform/RunningBook.h"

namespace ebook {
namespace {

constexpr const char* kBookFileVariable = "EBOOK_BOOK_FILE";

// --help and --version count only when the book has no entry of that name, which would be a
// page the book's author meant to be opened so.
BookChoice::Kind OptionOrBook(const QStringList& arguments) {
  if (arguments.isEmpty()) return BookChoice::Kind::Book;
  const QString& first = arguments.first();
  const bool help = first == QLatin1String("--help");
  if (!help && first != QLatin1String("--version")) return BookChoice::Kind::Book;
  if (ExeImage().FindEntry(first.toStdString())) return BookChoice::Kind::Book;
  return help ? BookChoice::Kind::Help : BookChoice::Kind::Version;
}

}  // namespace

BookChoice ChooseBook(const QStringList& arguments) {
  TakeRuntimeEnvironment();
  BookChoice choice;
  if (const char* launched = getenv(kBookFileVariable); launched && *launched) {
    SetBookFile(launched, true);
    unsetenv(kBookFileVariable);
    LoadExeImage();
    choice.kind = OptionOrBook(arguments);
    return choice;
  }
  SetBookFile({}, true);
  LoadExeImage();
  if (!ExeImage().index().entries().empty()) {
    choice.kind = OptionOrBook(arguments);
    return choice;
  }

  // A bare viewer: the first argument may name a book file.
  choice.kind = OptionOrBook(arguments);
  if (choice.kind != BookChoice::Kind::Book) return choice;
  if (arguments.isEmpty()) {
    choice.kind = BookChoice::Kind::NoBook;
    return choice;
  }
  choice.bookArgument = arguments.first();
  const QFileInfo file(choice.bookArgument);
  choice.kind = BookChoice::Kind::NotABook;
  if (!file.exists()) {
    choice.problem = QStringLiteral("There is no file %1.").arg(choice.bookArgument);
    return choice;
  }
  try {
    BookImage book = BookImage::FromFile(file.absoluteFilePath().toStdString());
    if (book.index().entries().empty()) {
      choice.problem = QStringLiteral("%1 is not a book file.").arg(choice.bookArgument);
      return choice;
    }
    SetBookFile(file.absoluteFilePath().toStdString(), false);
    SetExeImage(std::move(book));
    choice.kind = BookChoice::Kind::Book;
  } catch (const std::exception& error) {
    choice.problem = QString::fromLocal8Bit(error.what());
  }
  return choice;
}

QStringList ArgumentsAfterBook(const QStringList& arguments, const BookChoice& choice) {
  QStringList rest = arguments;
  if (!choice.bookArgument.isEmpty()) rest.removeOne(choice.bookArgument);
  return rest;
}

QString ViewerUsage() {
  return QStringLiteral(
      "usage: BOOK [PAGE]            a book file started directly\n"
      "       ebook BOOKFILE [PAGE]  the installed viewer showing a book file\n"
      "       ebook                  the installed viewer: open a book file\n"
      "\n"
      "  PAGE               a page of the book to open first; it beats the bookmark and the\n"
      "                     book's start page\n"
      "  --screenshot PNG   render the window once after the first page into PNG and exit\n"
      "  --quit-after-load  print \"loaded ADDRESS\" once the first page has loaded and exit\n"
      "  --help, --version  this text, the version (only as the first argument)\n");
}

QString ViewerVersion() { return QStringLiteral("ebook (QUIREL eBook) " EBOOK_VERSION "\n"); }

}  // namespace ebook
