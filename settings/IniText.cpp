#include "settings/IniText.h"
#include "text/Ascii.h"
#include "settings/SettingsKeys.h"

#include <limits>

namespace ebook {
namespace {

std::string LowerKey(std::string_view section, std::string_view key) {
  std::string joined;
  joined.reserve(section.size() + key.size() + 1);
  for (char c : section) joined.push_back(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  joined.push_back('\n');
  for (char c : key) joined.push_back(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return joined;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<uint32_t> ParseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = (value << 4) | static_cast<uint32_t>(digit);
  }
  return value;
}

}  // namespace

std::optional<int32_t> ParseInteger(std::string_view text) {
  if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    auto value = ParseHex(text.substr(2));
    if (!value) return std::nullopt;
    return static_cast<int32_t>(*value);
  }
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (!text.empty() && text[0] == '$') {
    auto value = ParseHex(text.substr(1));
    if (!value) return std::nullopt;
    const uint32_t magnitude = negative ? 0u - *value : *value;
    return static_cast<int32_t>(magnitude);
  }
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(value);
}

IniText::IniText(std::string_view text) {
  text = TrimControl(text);
  if (text.empty()) return;
  std::optional<std::string> section;
  for (int lineNumber = 1;; ++lineNumber) {
    const size_t end = text.find("\r\n");
    const std::string_view line = TrimControl(text.substr(0, end).substr(0, kMaxSettingsLineLength));
    if (line.empty() || line.front() == ';') {
      // comment or blank
    } else if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = std::string(TrimControl(line.substr(1, line.size() - 2)));
    } else if (const size_t equals = line.find('='); section && equals != std::string_view::npos) {
      Line entry{*section, std::string(TrimControl(line.substr(0, equals))),
                 std::string(TrimControl(line.substr(equals + 1))), lineNumber};
      firstByKey_.try_emplace(LowerKey(entry.section, entry.key), lines_.size());
      lines_.push_back(std::move(entry));
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 2);
  }
}

std::optional<std::string> IniText::Value(std::string_view section, std::string_view key) const {
  auto it = firstByKey_.find(LowerKey(section, key));
  if (it == firstByKey_.end()) return std::nullopt;
  return lines_[it->second].value;
}

std::string IniText::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  auto value = Value(section, key);
  return value ? *value : std::string(defaultValue);
}

int32_t IniText::ReadInteger(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
  auto value = Value(section, key);
  if (!value) return defaultValue;
  return ParseInteger(*value).value_or(defaultValue);
}

bool IniText::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::string IniText::ReadString(std::string_view section, std::string_view key) const {
  return ReadString(section, key, SettingDefault(section, key));
}

int32_t IniText::ReadInteger(std::string_view section, std::string_view key) const {
  return ReadInteger(section, key, ParseInteger(SettingDefault(section, key)).value_or(0));
}

bool IniText::ReadBool(std::string_view section, std::string_view key) const {
  return ReadInteger(section, key) != 0;
}

}  // namespace ebook
