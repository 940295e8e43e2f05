#pragma once
// Books for tests, entry by entry, written by the same writer the book tool uses; also
// entries stored exactly as given, to make damaged or unusual books.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "archive/ArchiveWriter.h"
#include "archive/BookImage.h"
#include "archive/ZLib.h"

namespace ebook::testing {

// Archive bytes appended one entry at a time, in the order given.
class TestArchive {
 public:
  // An entry as the writer stores it: name upper-cased, content deflated.
  TestArchive& Add(std::string_view name, std::string_view content) {
    bytes_ += EncodeEntry(name, content);
    return *this;
  }
  // An entry stored under exactly `storedName`, e.g. one with lower-case letters.
  TestArchive& AddStored(std::string_view storedName, std::string_view content) {
    bytes_ += EncodeRawEntry(storedName, CompressBytes(content));
    return *this;
  }
  // An entry whose stored data is `data` as given, e.g. a broken zlib stream.
  TestArchive& AddRaw(std::string_view storedName, std::string_view data) {
    bytes_ += EncodeRawEntry(storedName, data);
    return *this;
  }
  const std::string& bytes() const { return bytes_; }
  BookImage Book() const { return BookImage::FromBytes(bytes_); }

 private:
  std::string bytes_;
};

// A deflated page whose Adler-32 check no longer matches.
inline std::string CorruptedStream(std::string_view content) {
  std::string data = CompressBytes(content);
  data.back() = static_cast<char>(data.back() ^ 0x5A);
  return data;
}

}  // namespace ebook::testing
