#include "BookListing.h"

#include <ostream>

#include "contents/TocStream.h"
#include "contents/TocText.h"
#include "settings/IniText.h"
#include "settings/OptionString.h"
#include "settings/SettingsKeys.h"
#include "text/BookText.h"
#include "text/Ascii.h"
#include "archive/InternalEntries.h"

namespace ebook {
namespace {

// The value as the viewer ends up with it: typed keys read through their type, so a value the
// viewer cannot read shows as the default it falls back to.
std::string EffectiveValue(const IniText& ini, const SettingKey& key) {
  switch (key.type) {
    case SettingType::Integer:
      return std::to_string(
          ini.ReadInteger(key.section, key.key, ParseInteger(key.defaultValue).value_or(0)));
    case SettingType::Boolean:
      return ini.ReadBool(key.section, key.key, key.defaultValue != "0") ? "1" : "0";
    case SettingType::String:
    case SettingType::Color:
      break;
  }
  std::string value = ini.ReadString(key.section, key.key, key.defaultValue);
  if (key.section == "cInfo" && key.key == "title") value = std::string(TrimControl(value));
  // Texts as the viewer shows them: in UTF-8, whichever encoding the book holds them in.
  return DecodeBookText(value);
}

}  // namespace

void ListEntries(const BookImage& book, std::ostream& out) {
  for (const std::string& name : book.EnumerateEntries()) out << name << '\n';
}

void CatEntry(const BookImage& book, std::string_view name, std::ostream& out) {
  out << book.ReadEntry(name);
}

void PrintSettings(const BookImage& book, std::ostream& out) {
  const IniText ini(book.ReadEntry(kSettingsEntry));
  for (const SettingKey& key : SettingsKeys())
    out << key.section << '/' << key.key << '=' << EffectiveValue(ini, key) << '\n';
  const OptionString options(ini.ReadString("cSettings", "DATA"));
  for (const std::string& line : DescribeOptionString(options)) out << line << '\n';
}

std::string PrintToc(const BookImage& book, std::ostream& out) {
  const std::string stream = book.ReadEntry(kTocEntry);
  if (stream.empty()) return {};  // a book without contents
  TocTree tree = ReadTocStream(stream);
  // Captions as the viewer shows them, in UTF-8.
  for (TocNode& node : tree.nodes) node.caption = DecodeBookText(node.caption);
  size_t leftOut = 0;
  out << FormatTocText(tree, &leftOut);
  if (tree.damaged) return "are damaged; shown up to the damage";
  if (leftOut > 0) {
    return "are nested deeper than " + std::to_string(kMaxTocTextDepth) + " levels; " +
           std::to_string(leftOut) + " deeper nodes are not shown";
  }
  return {};
}

}  // namespace ebook
