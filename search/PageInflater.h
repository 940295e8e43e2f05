#pragma once
// Inflates archive entries one after another into a buffer that is reused from entry to entry,
// so that a search over thousands of pages allocates only while its largest page grows the
// buffer. One inflater per thread.

#include <memory>
#include <string>
#include <string_view>

namespace ebook {

class PageInflater {
 public:
  PageInflater();
  ~PageInflater();
  PageInflater(const PageInflater&) = delete;
  PageInflater& operator=(const PageInflater&) = delete;

  // The inflated content of one complete zlib stream; valid until the next call. Fails exactly
  // as DecompressBytes does, with EZDecompressionError and the same message.
  std::string_view Inflate(std::string_view stored);

 private:
  bool TryInflate(std::string_view stored, size_t& produced);
  void Grow(size_t atLeast, bool keep);

  struct Stream;
  std::unique_ptr<Stream> stream_;
  std::unique_ptr<char[]> buffer_;
  size_t capacity_ = 0;
  std::string spilled_;  // a page only the reader could inflate, until the next call
};

}  // namespace ebook
