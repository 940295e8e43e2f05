#include "BookExtractor.h"

#include <set>

#include "BookChecker.h"
#include "BookFiles.h"
#include "PackError.h"
#include "platform/TempFolder.h"
#include "archive/ZLib.h"
#include "contents/TocStream.h"
#include "contents/TocText.h"
#include "settings/SettingsKeys.h"
#include "archive/InternalEntries.h"

namespace ebook {
namespace fs = std::filesystem;
namespace {

constexpr fs::perms kFileMode =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;

void Save(const fs::path& path, std::string_view bytes) {
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  if (error)
    throw PackError("cannot make folder " + path.parent_path().string() + ": " + error.message());
  WriteFileAtomically(path, {bytes}, kFileMode);
}

bool IsButtonPicture(std::string_view name) {
  for (int button = 1; button <= kButtonPictureCount; ++button)
    if (name == ButtonPictureEntry(button)) return true;
  return false;
}

}  // namespace

std::string ShellQuoted(const std::string& text) {
  const bool plain = !text.empty() && text.find_first_not_of(
                                          "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                          "0123456789-_./=+,:@%") == std::string::npos;
  if (plain) return text;
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

ExtractResult ExtractBook(const BookImage& book, const std::string& bookPath,
                          const fs::path& folder) {
  std::error_code error;
  if (fs::exists(folder, error) && !fs::is_empty(folder, error))
    throw PackError("cannot extract into " + folder.string() + ": it is not empty");
  ExtractResult result;
  const fs::path files = folder / "book";
  const fs::path pictures = folder / "pictures";
  fs::create_directories(files, error);
  if (error) throw PackError("cannot make folder " + files.string() + ": " + error.message());

  std::string command = "ebook-pack build " + ShellQuoted(files.string()) + " -o " +
                        ShellQuoted(bookPath + ".rebuilt");
  std::set<std::string> seen;
  bool settings = false, contents = false, buttons = false;
  std::string splashSeconds;
  bool splashPicture = false;
  for (const IndexedEntry& entry : book.index().entries()) {
    const std::string name(entry.name);
    if (!seen.insert(name).second) {
      result.warnings.push_back(name + ": stored twice; only the first is extracted");
      continue;
    }
    std::string content;
    try {
      content = book.ReadEntry(name);
    } catch (const EZDecompressionError& failure) {
      throw PackError(name + " in " + bookPath + " cannot be inflated: " + failure.what());
    }
    if (!IsInternalEntry(name)) {
      if (!IsSafeEntryName(name) || !UncreatableName(name).empty() || ViewerCannotServe(name)) {
        result.warnings.push_back(name + ": a name no file can have; left out");
        continue;
      }
      const fs::path path = files / name;
      if (fs::is_directory(path, error)) {
        result.warnings.push_back(name + ": another entry needs a folder of this name; left out");
        continue;
      }
      Save(path, content);
      ++result.files;
      continue;
    }
    if (name == kSettingsEntry) {
      Save(folder / "settings.ini", content);
      settings = true;
    } else if (name == kTocEntry) {
      const TocTree tree = ReadTocStream(content);
      const std::string text = FormatTocText(tree);
      Save(folder / "contents.txt", text);
      contents = true;
      bool same = false;
      try {
        same = WriteTocStream(ParseTocText(text)) == content;
      } catch (const TocTextError&) {
      }
      if (!same)
        result.warnings.push_back(
            "contents.txt holds the nodes' captions, pages and nesting; the stored contents "
            "carry more (picture numbers, other node data or damage), which a build does not "
            "make again");
    } else if (name == kLogoEntry) {
      Save(pictures / "logo.bmp", content);
      command += " --logo " + ShellQuoted((pictures / "logo.bmp").string());
    } else if (name == kSplashPictureEntry) {
      Save(pictures / "splash.bmp", content);
      splashPicture = true;
    } else if (name == kSplashMarkerEntry) {
      splashSeconds = content;
      Save(folder / "splash-seconds.txt", content + "\n");
    } else if (IsButtonPicture(name)) {
      Save(pictures / (name.substr(0, name.size() - 5) + ".bmp"), content);
      buttons = true;
    } else {
      result.warnings.push_back(name +
                                ": an entry of the book's own that build does not make; left out");
    }
  }
  command += " --settings " + (settings ? ShellQuoted((folder / "settings.ini").string()) : "none");
  command += " --toc " + (contents ? ShellQuoted((folder / "contents.txt").string()) : "none");
  if (buttons) command += " --buttons " + ShellQuoted(pictures.string());
  if (splashPicture && !splashSeconds.empty())
    command += " --splash " + ShellQuoted((pictures / "splash.bmp").string()) +
               " --splash-seconds " + ShellQuoted(splashSeconds);
  else if (splashPicture || !splashSeconds.empty())
    result.warnings.push_back("the splash picture and its time come only together in a build");
  result.buildCommand = command;
  return result;
}

}  // namespace ebook
