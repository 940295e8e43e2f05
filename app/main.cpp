// The viewer program. A bare viewer carries no archive; a book is this program with its
// archive appended.

#include <exception>
#include <iostream>

#include "archive/SimExe.h"
#include "settings/BookSettings.h"

int main() {
  try {
    ebook::LoadExeImage();
    const ebook::BookSettings settings = ebook::ReadBookSettings(ebook::LoadSettingsText());
    std::cout << settings.BookTitle << "\n";
    for (const std::string& name : ebook::EnumerateEntries()) std::cout << "  " << name << "\n";
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
  return 0;
}
