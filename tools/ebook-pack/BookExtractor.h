#pragma once
// Takes a book apart into what `build` makes it from: FOLDER/book/ holds every book file under
// its stored name, FOLDER/settings.ini the settings, FOLDER/contents.txt the contents in the
// text form (captions in the book's own bytes, so that they are stored again as they were),
// FOLDER/pictures/ the logo (logo.bmp), button (B1.bmp ...) and splash (splash.bmp) pictures,
// and FOLDER/splash-seconds.txt the splash time.

#include <filesystem>
#include <string>
#include <vector>

#include "archive/BookImage.h"

namespace ebook {

struct ExtractResult {
  size_t files = 0;                   // book files written
  std::vector<std::string> warnings;  // what the build command cannot make again
  std::string buildCommand;           // makes a book with the same entries
};

// `folder` must not exist or be empty. Throws PackError when a file cannot be written or an
// entry cannot be inflated.
ExtractResult ExtractBook(const BookImage& book, const std::string& bookPath,
                          const std::filesystem::path& folder);

// `text` quoted for a POSIX shell when it needs it.
std::string ShellQuoted(const std::string& text);

}  // namespace ebook
