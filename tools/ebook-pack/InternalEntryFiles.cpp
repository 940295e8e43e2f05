#include "InternalEntryFiles.h"

#include <map>

#include "BookFiles.h"
#include "PackError.h"
#include "contents/TocText.h"
#include "settings/IniText.h"
#include "settings/OptionString.h"
#include "settings/SettingsKeys.h"
#include "text/Ascii.h"
#include "archive/InternalEntries.h"

namespace ebook {
namespace fs = std::filesystem;
namespace {

constexpr size_t kMaxSecondsDigits = 9;  // keeps the time within a 32-bit integer

// The viewer's picture entries are Windows bitmap files.
std::string ReadBitmap(const fs::path& file, std::string_view role) {
  std::string bytes = ReadFileBytes(file, role);
  if (bytes.compare(0, 2, "BM") != 0)
    throw PackError(std::string(role) + " " + file.string() +
                    " is not a Windows bitmap (it does not begin with \"BM\")");
  return bytes;
}

// The same lines ParseTocText counts as nodes: every line with something besides blanks.
std::vector<int> NodeLines(std::string_view text) {
  std::vector<int> lines;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find_first_not_of(" \t") != std::string_view::npos) lines.push_back(number);
  }
  return lines;
}

}  // namespace

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
    out.push_back(text[i]);
  }
  return out;
}

BookEntry SettingsEntry(const fs::path& file, std::vector<std::string>& warnings) {
  std::string text = ToCrLf(ReadFileBytes(file, "settings file"));
  const IniText ini(text);
  const std::optional<std::string> data = ini.Value("cSettings", "DATA");
  if (!data) {
    warnings.push_back("settings file " + file.string() +
                       ": no cSettings/DATA option string, so every switch is off");
  } else if (data->size() < opt::kRequiredLength) {
    warnings.push_back("settings file " + file.string() + ": cSettings/DATA holds " +
                       std::to_string(data->size()) + " switches of the " +
                       std::to_string(opt::kRequiredLength) +
                       " the viewer reads; the missing ones are off");
  }
  for (const IniText::Line& line : ini.lines()) {
    bool known = false;
    for (const SettingKey& key : SettingsKeys())
      known = known || (LowerAscii(std::string(key.section)) == LowerAscii(line.section) &&
                        LowerAscii(std::string(key.key)) == LowerAscii(line.key));
    if (!known)
      warnings.push_back("settings file " + file.string() + ", line " +
                         std::to_string(line.lineNumber) + ": " + line.section + "/" + line.key +
                         " is not a setting the viewer reads");
  }
  return {std::string(kSettingsEntry), std::move(text)};
}

std::vector<BookEntry> SplashEntries(const fs::path& picture, std::string_view seconds) {
  const bool digits = !seconds.empty() && seconds.size() <= kMaxSecondsDigits &&
                      seconds.find_first_not_of("0123456789") == std::string_view::npos;
  if (!digits)
    throw PackError("splash time \"" + std::string(seconds) +
                    "\" is not a whole number of seconds (--splash-seconds)");
  std::string bitmap = ReadBitmap(picture, "splash picture");
  return {{std::string(kSplashPictureEntry), std::move(bitmap)},
          {std::string(kSplashMarkerEntry), std::to_string(std::stoul(std::string(seconds)))}};
}

BookEntry LogoEntry(const fs::path& picture) {
  return {std::string(kLogoEntry), ReadBitmap(picture, "logo picture")};
}

std::vector<BookEntry> ButtonEntries(const fs::path& folder, std::vector<std::string>& warnings) {
  std::error_code error;
  if (!fs::is_directory(folder, error))
    throw PackError("button picture folder " + folder.string() + " does not exist");
  std::map<std::string, fs::path> byName;  // lower-cased file name -> file
  try {
    for (const fs::directory_entry& item : fs::directory_iterator(folder))
      byName.emplace(LowerAscii(item.path().filename().string()), item.path());
  } catch (const fs::filesystem_error& failure) {
    throw PackError("cannot read " + failure.path1().string() + ": " + failure.code().message());
  }

  std::vector<BookEntry> entries;
  for (int button = 1; button <= kButtonPictureCount; ++button) {
    const std::string number = std::to_string(button);
    const auto found = byName.find("b" + number + ".bmp");
    if (found == byName.end()) continue;
    entries.push_back({ButtonPictureEntry(button), ReadBitmap(found->second, "button picture")});
  }
  if (entries.empty())
    warnings.push_back("button picture folder " + folder.string() +
                       " holds none of B1.bmp .. B10.bmp");
  return entries;
}

BookEntry ContentsEntry(const fs::path& file, TocTree& tree, std::vector<int>& lines) {
  const std::string text = ReadFileBytes(file, "contents file");
  try {
    tree = ParseTocText(text);
  } catch (const TocTextError& error) {
    throw PackError("contents file " + file.string() + ", line " + std::to_string(error.line()) +
                    ": " + error.what());
  }
  lines = NodeLines(text);
  return {std::string(kTocEntry), WriteTocStream(tree)};
}

}  // namespace ebook
