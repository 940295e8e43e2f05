#pragma once
// A book file held in memory: the viewer program, then the archive, with an index over the
// archive's entries. Immutable once built, so it may be read from any thread. It is the book
// content (BookContent.h) the viewer shows; the search over all pages and the book tool also
// read its raw entries.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archive/ArchiveIndex.h"
#include "archive/BookContent.h"

namespace ebook {

class BookImage : public BookContent {
 public:
  BookImage() = default;
  BookImage(const BookImage&) = delete;
  BookImage& operator=(const BookImage&) = delete;
  BookImage(BookImage&&) noexcept = default;
  BookImage& operator=(BookImage&&) noexcept = default;

  // Reads the whole file. Throws std::system_error naming the file when it cannot be opened or
  // read completely.
  static BookImage FromFile(const std::string& path);
  // Maps the file of a running program instead of copying it: the kernel refuses to open a
  // running program for writing ("text file busy"), so the mapped bytes cannot change or
  // shrink under the viewer, and a 100 MB book is ready in milliseconds.
  static BookImage FromRunningProgram(const std::string& path);
  // A book whose bytes are already in memory (tests, tools).
  static BookImage FromBytes(std::string bytes);

  bool empty() const { return size_ == 0; }
  std::string_view bytes() const { return {data_.get(), size_}; }
  size_t archiveStart() const { return archiveStart_; }
  const ArchiveIndex& index() const { return index_; }

  // The inflated content of the named entry; empty when there is no such entry. Only the ASCII
  // letters of `name` are upper-cased; a stored name with a lower-case letter is never found.
  // Throws EZDecompressionError when the stored data cannot be inflated.
  std::string ReadEntry(std::string_view name) const override;

  // The stored data of the named entry, not inflated; nullptr when there is no such entry.
  const IndexedEntry* FindEntry(std::string_view name) const;
  bool HasEntry(std::string_view name) const override { return FindEntry(name) != nullptr; }

  // The names of all entries in archive order, each without blanks or control bytes at
  // either end.
  std::vector<std::string> EnumerateEntries() const override;

 private:
  void Build();

  std::shared_ptr<const char> data_;  // heap copy or read-only mapping
  size_t size_ = 0;
  size_t archiveStart_ = 0;
  ArchiveIndex index_;
};

}  // namespace ebook
