#pragma once
// Generated HTML pages for the synthetic books: prose of pseudo-words with headings, links and
// class attributes, which deflate shrinks about 2.8 to one, as it does real book pages.

#include <random>
#include <string>
#include <vector>

namespace ebook::bench {

class ProseWriter {
 public:
  // Draws a vocabulary of pseudo-words from `random`, then writes every page from it. The words
  // hold no "q" and no "z", so a word with either letter is found only where it was placed.
  // `utf8`: words with accented letters (é, ü, ø, ñ, ç, ...) in UTF-8, in pages that declare it
  // (even numbers) or say nothing (odd numbers), as today's documentation is written.
  explicit ProseWriter(std::mt19937& random, bool utf8 = false);

  // A page of about `size` bytes numbered `number`; a non-empty `rareWord` appears once, at a
  // random place.
  std::string Page(int number, size_t size, const std::string& rareWord);

 private:
  const std::string& Word();
  std::string Sentence(size_t words);

  std::mt19937& random_;
  bool utf8_;
  std::vector<std::string> words_;
};

}  // namespace ebook::bench
