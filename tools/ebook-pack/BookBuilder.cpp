#include "BookBuilder.h"

#include <map>
#include <set>

#include "BookFiles.h"
#include "InternalEntries.h"
#include "PackError.h"
#include "SourceFolder.h"
#include "archive/BookImage.h"
#include "archive/SimExe.h"
#include "settings/IniText.h"

namespace ebook {
namespace fs = std::filesystem;
namespace {

constexpr fs::perms kBookMode = fs::perms::owner_all | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec;

// What comes before the archive: the launcher and the viewer program (or, in a portable book,
// the packed runtime), or the one program --viewer names.
std::string ReadBookFront(const BuildOptions& options) {
  std::string bytes;
  if (!options.viewer.empty()) {
    bytes = ReadFileBytes(options.viewer, "viewer program");
  } else {
    const fs::path folder = BookImageFolder();
    const fs::path second = folder / (options.portable ? "runtime.frame" : "ebook-viewer");
    try {
      bytes = ReadFileBytes(folder / "ebook-launch", "launcher program") +
              ReadFileBytes(second, options.portable ? "portable runtime" : "viewer program");
    } catch (const PackError& error) {
      throw PackError(std::string(error.what()) +
                      (options.portable ? " (the build makes it with the target ebook-runtime)"
                                        : " (name a viewer program with --viewer)"));
    }
  }
  // Entries already in the program would come first and hide the new book's entries.
  if (!BookImage::FromBytes(bytes).index().entries().empty())
    throw PackError("viewer program " + options.viewer.string() +
                    " already carries a book; give the bare viewer with --viewer");
  return bytes;
}

// Where each stored name came from, so that two files meeting under one name can be named.
void CheckUniqueNames(const std::vector<BookEntry>& entries,
                      const std::vector<std::string>& origins) {
  std::map<std::string, size_t> seen;
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto [it, added] = seen.emplace(UpperAscii(entries[i].name), i);
    if (!added)
      throw PackError(origins[it->second] + " and " + origins[i] + " would both be stored as " +
                      it->first + "; only the first could be read");
  }
}

// The entry a page address names: the part before any "#" fragment or "?" query, trimmed.
std::string PageEntryName(std::string_view page) {
  page = TrimControl(page);
  page = page.substr(0, page.find_first_of("#?"));
  return UpperAscii(page);
}

void CheckPages(const BuildOptions& options, const std::set<std::string>& stored,
                std::string_view settingsText, const TocTree& tree, const std::vector<int>& lines,
                std::vector<std::string>& warnings) {
  auto missing = [&](std::string_view page) {
    const std::string name = PageEntryName(page);
    return !name.empty() && !stored.count(name);
  };
  const std::string home = IniText(settingsText).ReadString("cSettings", "home", "");
  if (missing(home))
    warnings.push_back("settings file " + options.settings.string() + ": start page \"" + home +
                       "\" is not in the book");
  for (size_t i = 0; i < tree.nodes.size(); ++i) {
    const std::string page = TocPageName(tree.nodes[i].data);
    if (missing(page))
      warnings.push_back("contents file " + options.toc.string() + ", line " +
                         std::to_string(i < lines.size() ? lines[i] : 0) + ": page \"" + page +
                         "\" is not in the book");
  }
}

bool IsInternalName(std::string_view name) {
  return name.size() >= 5 && UpperAscii(name.substr(name.size() - 5)) == ".QRLC";
}

}  // namespace

fs::path BookImageFolder() {
  return (fs::path(ExecutableFolder()).parent_path() / "lib" / "quirel-ebook").lexically_normal();
}

std::vector<BookEntry> CollectBookEntries(const BuildOptions& options,
                                          std::vector<std::string>& warnings) {
  if (options.splash.empty() != !options.splashSeconds)
    throw PackError("--splash and --splash-seconds go together: give both or neither");

  std::vector<BookEntry> entries;
  std::vector<std::string> origins;
  auto add = [&](BookEntry entry, std::string origin) {
    entries.push_back(std::move(entry));
    origins.push_back(std::move(origin));
  };

  std::string settingsText;
  if (!options.settings.empty()) {
    BookEntry settings = SettingsEntry(options.settings, warnings);
    settingsText = settings.content;
    add(std::move(settings), "settings file " + options.settings.string());
  }
  if (!options.splash.empty())
    for (BookEntry& entry : SplashEntries(options.splash, *options.splashSeconds))
      add(std::move(entry), "splash picture " + options.splash.string());
  if (!options.logo.empty()) add(LogoEntry(options.logo), "logo picture " + options.logo.string());
  if (!options.buttons.empty())
    for (BookEntry& entry : ButtonEntries(options.buttons, warnings)) {
      std::string origin = "button picture " + entry.name + " of " + options.buttons.string();
      add(std::move(entry), std::move(origin));
    }
  TocTree tree;
  std::vector<int> lines;
  if (!options.toc.empty())
    add(ContentsEntry(options.toc, tree, lines), "contents file " + options.toc.string());

  std::set<std::string> stored;  // the book files' names as the viewer looks them up
  for (BookEntry& file : ReadSourceFolder(options.source, options.output, warnings)) {
    if (IsInternalName(file.name))
      warnings.push_back("\"" + file.name +
                         "\": names ending in .QRLC belong to the book's own entries; "
                         "the viewer never serves this file as a page");
    stored.insert(UpperAscii(file.name));
    std::string origin = "source file \"" + file.name + "\"";
    add(std::move(file), std::move(origin));
  }
  CheckUniqueNames(entries, origins);
  CheckPages(options, stored, settingsText, tree, lines, warnings);
  SortInBookOrder(entries);
  return entries;
}

BuildResult BuildBook(const BuildOptions& options) {
  BuildResult result;
  if (options.splash.empty() != !options.splashSeconds)
    throw PackError("--splash and --splash-seconds go together: give both or neither");
  const std::string viewer = ReadBookFront(options);
  const std::vector<BookEntry> entries = CollectBookEntries(options, result.warnings);
  const std::string archive = EncodeArchive(entries);
  WriteFileAtomically(options.output, {viewer, archive}, kBookMode);
  result.entries = entries.size();
  result.bytes = viewer.size() + archive.size();
  return result;
}

}  // namespace ebook
