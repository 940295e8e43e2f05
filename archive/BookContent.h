#pragma once
// What the viewer reads a book through: the entries of a book, by name. The book file held in
// memory (BookImage) is one; whatever serves pages, reads the settings, the contents, the
// toolbar pictures and the splash, or extracts the book into a temporary folder is handed one
// of these, so another source of entries (an author's folder, say) can be shown the same way.
//
// Names follow the archive's rules: a name is compared with only its ASCII letters
// upper-cased, so a stored name with a lower-case letter is listed but never found.

#include <string>
#include <string_view>
#include <vector>

namespace ebook {

class BookContent {
 public:
  virtual ~BookContent() = default;

  // The names of all entries in archive order, each without blanks or control bytes at
  // either end.
  virtual std::vector<std::string> EnumerateEntries() const = 0;

  // True when an entry of this name is stored (compared as above).
  virtual bool HasEntry(std::string_view name) const = 0;

  // The content of the named entry; empty when there is no such entry. Throws
  // EZDecompressionError when the stored data cannot be inflated.
  virtual std::string ReadEntry(std::string_view name) const = 0;

 protected:
  BookContent() = default;
  BookContent(const BookContent&) = default;
  BookContent& operator=(const BookContent&) = default;
};

}  // namespace ebook
