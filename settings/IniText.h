#pragma once
// The settings text of a book, in INI form, read the way the book's authors have always
// written it:
//  - the whole text is trimmed of blanks and control characters, then split at CR LF pairs
//    only (a lone CR or LF does not end a line);
//  - a line keeps at most its first 4096 characters, then is trimmed;
//  - empty lines and lines beginning with ";" are skipped;
//  - "[name]" opens a section; other lines before the first section are ignored;
//  - "key = value" splits at the first "="; a line without "=" defines nothing;
//  - section and key names match without regard to ASCII case; a section written twice is one
//    section, and the first line of a key wins;
//  - a key present with nothing after "=" has the empty value, not its default.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ebook {

inline constexpr size_t kMaxSettingsLineLength = 4096;

class IniText {
 public:
  IniText() = default;
  explicit IniText(std::string_view text);

  // The stored value, or nullopt when the section or key is absent.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // The same with the default the viewer's settings table gives the key (SettingDefault in
  // settings/SettingsKeys.h): every reader of a key falls back to the same value.
  std::string ReadString(std::string_view section, std::string_view key) const;
  int32_t ReadInteger(std::string_view section, std::string_view key) const;
  bool ReadBool(std::string_view section, std::string_view key) const;

  struct Line {
    std::string section;
    std::string key;
    std::string value;
    int lineNumber;  // 1-based, in the CR LF-split text
  };
  // Every key line in text order, for tools that check a book's settings.
  const std::vector<Line>& lines() const { return lines_; }

 private:
  std::vector<Line> lines_;
  std::unordered_map<std::string, size_t> firstByKey_;  // "section\nkey", lower-cased
};

// An optionally signed decimal integer, hexadecimal after "$" (sign first: "-$10"), or
// hexadecimal after "0x"/"0X" when at least one digit follows. Hexadecimal takes up to 32 bits
// and wraps ("$FFFFFFFF" is -1); decimal must fit 32 signed bits. nullopt for anything else.
std::optional<int32_t> ParseInteger(std::string_view text);

}  // namespace ebook
