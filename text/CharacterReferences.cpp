#include "text/CharacterReferences.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "text/Utf8.h"
#include "text/Windows1252.h"

namespace ebook {
namespace {

struct Named {
  std::string_view name;
  char32_t code;
};

// Latin-1's upper half in order, U+00A0 to U+00FF.
constexpr std::array<std::string_view, 96> kLatin1 = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",
    "uml",    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",
    "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",  "para",   "middot",
    "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest",
    "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
    "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",
    "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",
    "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",
    "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
    "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

// Greek letters in order from U+0391 (capitals) and U+03B1 (small); "" where Unicode has no
// letter of the entity list (U+03A2 has no capital; U+03C2 is the final sigma).
constexpr std::array<std::string_view, 25> kGreek = {
    "alpha", "beta", "gamma", "delta",   "epsilon", "zeta", "eta", "theta", "iota",
    "kappa", "lambda", "mu",  "nu",      "xi",      "omicron", "pi", "rho", "sigmaf",
    "sigma", "tau",  "upsilon", "phi",   "chi",     "psi",  "omega"};

constexpr Named kOthers[] = {
    {"quot", 34},       {"amp", 38},        {"apos", 39},     {"lt", 60},
    {"gt", 62},         {"OElig", 338},     {"oelig", 339},   {"Scaron", 352},
    {"scaron", 353},    {"Yuml", 376},      {"fnof", 402},    {"circ", 710},
    {"tilde", 732},     {"thetasym", 977},  {"upsih", 978},   {"piv", 982},
    {"ensp", 8194},     {"emsp", 8195},     {"thinsp", 8201}, {"zwnj", 8204},
    {"zwj", 8205},      {"lrm", 8206},      {"rlm", 8207},    {"ndash", 8211},
    {"mdash", 8212},    {"lsquo", 8216},    {"rsquo", 8217},  {"sbquo", 8218},
    {"ldquo", 8220},    {"rdquo", 8221},    {"bdquo", 8222},  {"dagger", 8224},
    {"Dagger", 8225},   {"bull", 8226},     {"hellip", 8230}, {"permil", 8240},
    {"prime", 8242},    {"Prime", 8243},    {"lsaquo", 8249}, {"rsaquo", 8250},
    {"oline", 8254},    {"frasl", 8260},    {"euro", 8364},   {"image", 8465},
    {"weierp", 8472},   {"real", 8476},     {"trade", 8482},  {"alefsym", 8501},
    {"larr", 8592},     {"uarr", 8593},     {"rarr", 8594},   {"darr", 8595},
    {"harr", 8596},     {"crarr", 8629},    {"lArr", 8656},   {"uArr", 8657},
    {"rArr", 8658},     {"dArr", 8659},     {"hArr", 8660},   {"forall", 8704},
    {"part", 8706},     {"exist", 8707},    {"empty", 8709},  {"nabla", 8711},
    {"isin", 8712},     {"notin", 8713},    {"ni", 8715},     {"prod", 8719},
    {"sum", 8721},      {"minus", 8722},    {"lowast", 8727}, {"radic", 8730},
    {"prop", 8733},     {"infin", 8734},    {"ang", 8736},    {"and", 8743},
    {"or", 8744},       {"cap", 8745},      {"cup", 8746},    {"int", 8747},
    {"there4", 8756},   {"sim", 8764},      {"cong", 8773},   {"asymp", 8776},
    {"ne", 8800},       {"equiv", 8801},    {"le", 8804},     {"ge", 8805},
    {"sub", 8834},      {"sup", 8835},      {"nsub", 8836},   {"sube", 8838},
    {"supe", 8839},     {"oplus", 8853},    {"otimes", 8855}, {"perp", 8869},
    {"sdot", 8901},     {"lceil", 8968},    {"rceil", 8969},  {"lfloor", 8970},
    {"rfloor", 8971},   {"lang", 10216},    {"rang", 10217},  {"loz", 9674},
    {"spades", 9824},   {"clubs", 9827},    {"hearts", 9829}, {"diams", 9830}};

// The character a name stands for, or 0.
char32_t NamedCharacter(std::string_view name) {
  for (size_t i = 0; i < kLatin1.size(); ++i)
    if (kLatin1[i] == name) return static_cast<char32_t>(0xA0 + i);
  for (size_t i = 0; i < kGreek.size(); ++i) {
    if (kGreek[i] == name) return static_cast<char32_t>(0x3B1 + i);
    // Capitals: the same names with an upper-case first letter, but no capital final sigma.
    if (i != 17 && name.size() == kGreek[i].size() && name[0] == kGreek[i][0] - 'a' + 'A' &&
        name.substr(1) == kGreek[i].substr(1))
      return static_cast<char32_t>(0x391 + i);
  }
  for (const Named& named : kOthers)
    if (named.name == name) return named.code;
  return 0;
}

bool IsDigit(char c, bool hex) {
  return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

char32_t NumericCharacter(uint32_t value) {
  if (value >= 0x80 && value <= 0x9F) return Windows1252Char(static_cast<unsigned char>(value));
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    return kReplacementCharacter;
  return value;
}

// The reference at `at` (which holds "&"): its character and length, or length 0 for none.
std::pair<char32_t, size_t> ReadReference(std::string_view text, size_t at) {
  size_t i = at + 1;
  if (i < text.size() && text[i] == '#') {
    ++i;
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex) ++i;
    const size_t digits = i;
    uint32_t value = 0;
    for (; i < text.size() && IsDigit(text[i], hex); ++i) {
      const char c = text[i];
      const uint32_t digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
      value = std::min<uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
    }
    if (i == digits) return {0, 0};
    if (i < text.size() && text[i] == ';') ++i;
    return {NumericCharacter(value), i - at};
  }
  const size_t name = i;
  while (i < text.size() && i - name < 10 &&
         ((text[i] >= 'a' && text[i] <= 'z') || (text[i] >= 'A' && text[i] <= 'Z') ||
          (text[i] >= '0' && text[i] <= '9')))
    ++i;
  if (i == name || i >= text.size() || text[i] != ';') return {0, 0};
  const char32_t code = NamedCharacter(text.substr(name, i - name));
  return code ? std::pair{code, i + 1 - at} : std::pair<char32_t, size_t>{0, 0};
}

}  // namespace

std::string DecodeCharacterReferences(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  for (size_t amp = utf8.find('&'); amp != std::string_view::npos; amp = utf8.find('&', i)) {
    out.append(utf8.substr(i, amp - i));
    const auto [code, length] = ReadReference(utf8, amp);
    if (length == 0) {
      out += '&';
      i = amp + 1;
    } else {
      AppendUtf8(out, code);
      i = amp + length;
    }
  }
  out.append(utf8.substr(i));
  return out;
}

}  // namespace ebook
