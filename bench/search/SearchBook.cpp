#include "SearchBook.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>

#include "archive/ArchiveWriter.h"
#include "archive/BookImage.h"
#include "archive/SimExe.h"

namespace ebook::bench {
namespace {

// A vocabulary of pseudo-words built from syllables without "q" or "z".
std::vector<std::string> Vocabulary(std::mt19937& random) {
  static const char* const kSyllables[] = {
      "ba", "be", "bi", "bo", "ca", "ce", "co", "da", "de", "di", "do", "fa", "fe", "ga", "ge",
      "ha", "he", "hi", "ka", "la", "le", "li", "lo", "lu", "ma", "me", "mi", "mo", "na", "ne",
      "ni", "no", "pa", "pe", "pi", "po", "ra", "re", "ri", "ro", "sa", "se", "si", "so", "ta",
      "te", "ti", "to", "tu", "va", "ve", "vi", "wa", "we", "ya", "st", "th", "nd", "er", "an",
      "in", "on", "en", "or", "ing", "ed", "ly", "ous", "ment", "tion"};
  std::uniform_int_distribution<size_t> syllable(0, std::size(kSyllables) - 1);
  std::uniform_int_distribution<int> length(1, 4);
  std::vector<std::string> words;
  for (int i = 0; i < 1500; ++i) {
    std::string word;
    for (int n = length(random); n > 0; --n) word += kSyllables[syllable(random)];
    words.push_back(word);
  }
  return words;
}

class PageWriter {
 public:
  PageWriter(std::mt19937& random, const std::vector<std::string>& words)
      : random_(random), words_(words) {}

  std::string Page(int number, size_t size, const std::string& rareWord) {
    std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"windows-1252\">\n<title>";
    page += Sentence(3) + " " + std::to_string(number) + "</title>\n";
    page += "<link rel=\"stylesheet\" href=\"../style.css\"></head>\n<body>\n";
    std::uniform_int_distribution<size_t> at(page.size(), size);
    size_t rareAt = rareWord.empty() ? std::string::npos : at(random_);
    while (page.size() < size) {
      if (page.size() >= rareAt) {
        page += "<p class=\"note\">" + rareWord + " ";
        rareAt = std::string::npos;
      }
      switch (random_() % 10) {
        case 0: page += "<h2 class=\"section\">" + Sentence(4) + "</h2>\n"; break;
        case 1: page += "<p class=\"see-also\"><a href=\"../CH" + std::to_string(random_() % 50) +
                        "/PAGE" + std::to_string(random_() % 5000) + ".HTML\">" + Sentence(3) +
                        "</a></p>\n"; break;
        default: page += "<p class=\"text\">" + Sentence(40 + random_() % 80) + "</p>\n";
      }
    }
    if (rareAt != std::string::npos) page += "<p>" + rareWord + "</p>\n";
    return page + "</body></html>\n";
  }

 private:
  // Words drawn with a long-tailed frequency, as in prose.
  const std::string& Word() {
    const double u = std::uniform_real_distribution<double>(0, 1)(random_);
    return words_[static_cast<size_t>(std::pow(u, 4.0) * (words_.size() - 1))];
  }

  std::string Sentence(size_t words) {
    std::string text;
    for (size_t i = 0; i < words; ++i) {
      if (i) text += (random_() % 15 == 0) ? ", " : " ";
      std::string word = Word();
      if (i == 0 || random_() % 25 == 0) word[0] = static_cast<char>(word[0] - 'a' + 'A');
      if (random_() % 60 == 0) word = "<b>" + word + "</b>";
      text += word;
    }
    return text + ".";
  }

  std::mt19937& random_;
  const std::vector<std::string>& words_;
};

// The rare word in one of three letter cases, so that the search has to fold case.
std::string Cased(const std::string& word, int variant) {
  std::string cased = word;
  if (variant == 1) cased[0] = static_cast<char>(cased[0] - 'a' + 'A');
  if (variant == 2) cased = UpperAscii(cased);
  return cased;
}

}  // namespace

SearchBook MakeSearchBook(const SearchBookOptions& options) {
  std::mt19937 random(options.seed);
  const std::vector<std::string> words = Vocabulary(random);
  PageWriter writer(random, words);

  std::vector<int> rare(options.pages);
  for (int i = 0; i < options.pages; ++i) rare[i] = i;
  std::shuffle(rare.begin(), rare.end(), random);
  rare.resize(std::min(options.pages, options.pagesWithRareWord));
  std::sort(rare.begin(), rare.end());

  SearchBook book;
  std::vector<BookEntry> entries;
  entries.push_back({"XSE1.QRLC", "[cSettings]\r\nDATA=1111111111000000000000000000221110\r\n"});
  const double span = static_cast<double>(options.maxPageBytes - options.minPageBytes);
  for (int i = 0; i < options.pages; ++i) {
    // Many short pages, few long ones: the mean lies near a third of the range.
    const double u = std::uniform_real_distribution<double>(0, 1)(random);
    const size_t size = options.minPageBytes + static_cast<size_t>(u * u * span);
    const bool hasRare = std::binary_search(rare.begin(), rare.end(), i);
    char name[40];
    snprintf(name, sizeof name, "CH%02d/PAGE%04d.HTML", i / 100, i);
    entries.push_back({name, writer.Page(i, size, hasRare ? Cased(options.rareWord, i % 3) : "")});
    book.pageBytes += entries.back().content.size();
    if (hasRare) book.rareWordPages.push_back(name);
  }
  for (int i = 0; i < options.pictures; ++i) {
    std::string picture(options.pictureBytes, '\0');
    for (char& c : picture) c = static_cast<char>(random());
    char name[40];
    snprintf(name, sizeof name, "PICS/P%04d.JPG", i);
    entries.push_back({name, std::move(picture)});
  }
  SortInBookOrder(entries);
  for (const BookEntry& entry : entries)
    if (entry.name.ends_with(".HTML")) book.pageNames.push_back(UpperAscii(entry.name));

  std::ifstream self(ExecutablePath(), std::ios::binary);
  book.image.assign(std::istreambuf_iterator<char>(self), {});
  book.image += EncodeArchive(entries);
  return book;
}

}  // namespace ebook::bench
