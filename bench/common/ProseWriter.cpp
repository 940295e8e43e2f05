#include "bench/common/ProseWriter.h"

#include <cmath>
#include <iterator>

namespace ebook::bench {
namespace {

std::vector<std::string> Vocabulary(std::mt19937& random, bool utf8) {
  static const char* const kSyllables[] = {
      "ba", "be", "bi", "bo", "ca", "ce", "co", "da", "de",  "di", "do", "fa",  "fe",   "ga",
      "ge", "ha", "he", "hi", "ka", "la", "le", "li", "lo",  "lu", "ma", "me",  "mi",   "mo",
      "na", "ne", "ni", "no", "pa", "pe", "pi", "po", "ra",  "re", "ri", "ro",  "sa",   "se",
      "si", "so", "ta", "te", "ti", "to", "tu", "va", "ve",  "vi", "wa", "we",  "ya",   "st",
      "th", "nd", "er", "an", "in", "on", "en", "or", "ing", "ed", "ly", "ous", "ment", "tion"};
  // About one syllable in seven is accented, never at the start of a word.
  static const char* const kAccented[] = {"r\xC3\xA9", "l\xC3\xBC", "m\xC3\xB8", "\xC3\xB1" "a",
                                          "\xC3\xA7" "a", "t\xC3\xA8", "\xC3\xA0", "d\xC3\xB6",
                                          "v\xC3\xAE", "\xC3\x9F" "e"};
  std::uniform_int_distribution<size_t> syllable(0, std::size(kSyllables) - 1);
  std::uniform_int_distribution<size_t> accented(0, std::size(kAccented) - 1);
  std::uniform_int_distribution<int> length(1, 4);
  std::vector<std::string> words;
  for (int i = 0; i < 1500; ++i) {
    std::string word;
    for (int n = length(random); n > 0; --n) {
      const bool accent = utf8 && !word.empty() && random() % 7 == 0;
      word += accent ? kAccented[accented(random)] : kSyllables[syllable(random)];
    }
    words.push_back(word);
  }
  return words;
}

}  // namespace

ProseWriter::ProseWriter(std::mt19937& random, bool utf8)
    : random_(random), utf8_(utf8), words_(Vocabulary(random, utf8)) {}

std::string ProseWriter::Page(int number, size_t size, const std::string& rareWord) {
  std::string page = "<!DOCTYPE html>\n<html><head>";
  if (!utf8_) page += "<meta charset=\"windows-1252\">";
  if (utf8_ && number % 2 == 0) page += "<meta charset=\"utf-8\">";
  page += "\n<title>";
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
      case 0:
        page += "<h2 class=\"section\">" + Sentence(4) + "</h2>\n";
        break;
      case 1:
        page += "<p class=\"see-also\"><a href=\"../CH" + std::to_string(random_() % 50) + "/PAGE" +
                std::to_string(random_() % 5000) + ".HTML\">" + Sentence(3) + "</a></p>\n";
        break;
      default:
        page += "<p class=\"text\">" + Sentence(40 + random_() % 80) + "</p>\n";
    }
  }
  if (rareAt != std::string::npos) page += "<p>" + rareWord + "</p>\n";
  return page + "</body></html>\n";
}

// Words drawn with a long-tailed frequency, as in prose.
const std::string& ProseWriter::Word() {
  const double u = std::uniform_real_distribution<double>(0, 1)(random_);
  return words_[static_cast<size_t>(std::pow(u, 4.0) * (words_.size() - 1))];
}

std::string ProseWriter::Sentence(size_t words) {
  std::string text;
  for (size_t i = 0; i < words; ++i) {
    if (i) text += (random_() % 15 == 0) ? ", " : " ";
    std::string word = Word();
    if ((i == 0 || random_() % 25 == 0) && word[0] >= 'a' && word[0] <= 'z')
      word[0] = static_cast<char>(word[0] - 'a' + 'A');
    if (random_() % 60 == 0) word = "<b>" + word + "</b>";
    text += word;
  }
  return text + ".";
}

}  // namespace ebook::bench
