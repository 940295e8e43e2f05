#include "SettingsMaker.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "settings/IniText.h"
#include "settings/OptionString.h"
#include "settings/SettingsKeys.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

bool IsHtmlName(std::string_view name) {
  const std::string lower = LowerAscii(name);
  return lower.ends_with(".html") || lower.ends_with(".htm");
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t begin = 0;
  for (size_t end; (end = text.find("\r\n", begin)) != std::string_view::npos; begin = end + 2)
    lines.push_back(text.substr(begin, end - begin));
  if (begin < text.size()) lines.push_back(text.substr(begin));
  return lines;
}

// The section a line opens, or nullopt.
std::optional<std::string> SectionOf(std::string_view line) {
  line = TrimControl(line);
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  return std::string(TrimControl(line.substr(1, line.size() - 2)));
}

bool IsKeyLine(std::string_view line, std::string_view key) {
  line = TrimControl(line);
  const size_t equals = line.find('=');
  return equals != std::string_view::npos && !line.starts_with(";") &&
         LowerAscii(TrimControl(line.substr(0, equals))) == LowerAscii(key);
}

}  // namespace

std::vector<const PackEntry*> PagesInFolderOrder(const std::vector<PackEntry>& files) {
  std::vector<const PackEntry*> pages;
  for (const PackEntry& file : files)
    if (IsHtmlName(file.name)) pages.push_back(&file);
  std::stable_sort(pages.begin(), pages.end(), [](const PackEntry* a, const PackEntry* b) {
    const bool aTop = a->name.find('/') == std::string::npos;
    const bool bTop = b->name.find('/') == std::string::npos;
    if (aTop != bTop) return aTop;
    return LowerAscii(a->name) < LowerAscii(b->name);
  });
  return pages;
}

std::string DefaultStartPage(const std::vector<PackEntry>& files) {
  for (const std::string_view preferred : {"index.html", "index.htm", "default.htm"})
    for (const PackEntry& file : files)
      if (LowerAscii(file.name) == preferred) return file.name;
  const std::vector<const PackEntry*> pages = PagesInFolderOrder(files);
  return pages.empty() ? std::string() : pages.front()->name;
}

std::string BookNumberFor(std::string_view seed) {
  // Two FNV-1a hashes with different offsets: 128 bits, the same on every machine.
  auto fnv = [&](uint64_t hash) {
    for (const char c : seed) {
      hash ^= static_cast<unsigned char>(c);
      hash *= 0x100000001B3ull;
    }
    return hash;
  };
  const uint64_t high = fnv(0xCBF29CE484222325ull), low = fnv(0x84222325CBF29CE4ull);
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%012llX}",
                static_cast<unsigned>(high >> 32), static_cast<unsigned>((high >> 16) & 0xFFFF),
                static_cast<unsigned>(high & 0xFFFF), static_cast<unsigned>(low >> 48),
                static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
  return text;
}

std::string DefaultOptionString(const DefaultSettingsFacts& facts) {
  std::string data(opt::kRequiredLength, '0');
  for (size_t button = opt::kBack; button <= opt::kContent; ++button) data[button] = '1';
  if (!facts.contents) data[opt::kContent] = '0';
  if (facts.logo) data[opt::kLogo] = '1';
  data[opt::kBorder] = '2';     // sizeable
  data[opt::kPlacement] = '0';  // centred
  data[opt::kMinimizeButton] = '1';
  data[opt::kMaximizeButton] = '1';
  data[opt::kSystemMenu] = '1';
  return data;
}

std::string DefaultSettingsText(const DefaultSettingsFacts& facts) {
  std::string text = "[cSettings]\r\nDATA=" + DefaultOptionString(facts) + "\r\n";
  if (!facts.start.empty()) text += "home=" + facts.start + "\r\n";
  text += "[cInfo]\r\ntitle=" + facts.title + "\r\n";
  if (!facts.number.empty()) text += "enumber=" + facts.number + "\r\n";
  text += "[cEve]\r\nwidth=1024\r\nheight=768\r\nbookmark=1\r\n";
  if (facts.contents) text += "[PFiles]\r\nUseTOC=1\r\nUseTOCauto=1\r\n";
  return text;
}

std::string SetSettingsValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
  std::vector<std::string> lines;
  for (std::string_view line : SplitLines(text)) lines.emplace_back(line);
  const std::string wanted = LowerAscii(section);
  const std::string newLine = std::string(key) + "=" + std::string(value);
  // A section written twice is one section and the first line of a key wins, as the viewer
  // reads it; new keys go to the end of the section's first run of lines.
  std::optional<size_t> keyLine, insertAt;
  bool inSection = false, firstRun = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (const std::optional<std::string> opened = SectionOf(lines[i])) {
      inSection = LowerAscii(*opened) == wanted;
      firstRun = inSection && !insertAt;
      if (firstRun) insertAt = i + 1;
      continue;
    }
    if (!inSection) continue;
    if (!keyLine && IsKeyLine(lines[i], key)) keyLine = i;
    if (firstRun && !TrimControl(lines[i]).empty()) insertAt = i + 1;
  }
  if (keyLine) {
    lines[*keyLine] = newLine;
  } else if (insertAt) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*insertAt), newLine);
  } else {
    lines.push_back(std::string("[").append(section).append("]"));
    lines.push_back(newLine);
  }
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

bool IsViewerSetting(std::string_view section, std::string_view key) {
  return std::any_of(SettingsKeys().begin(), SettingsKeys().end(), [&](const SettingKey& known) {
    return LowerAscii(known.section) == LowerAscii(section) && LowerAscii(known.key) == LowerAscii(key);
  });
}

}  // namespace ebook
