#include "BookBuilder.h"

#include <map>
#include <set>

#include "AutoToc.h"
#include "BookFiles.h"
#include "InternalEntryFiles.h"
#include "PackError.h"
#include "Progress.h"
#include "SettingsMaker.h"
#include "archive/BookImage.h"
#include "navigation/EntryLookup.h"
#include "platform/RunningBook.h"
#include "settings/IniText.h"
#include "settings/SettingsKeys.h"
#include "text/BookText.h"
#include "text/PageTitle.h"
#include "text/Ascii.h"
#include "archive/InternalEntries.h"

namespace ebook {
namespace fs = std::filesystem;
namespace {

constexpr fs::perms kBookMode = fs::perms::owner_all | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec;
constexpr size_t kLinksNamed = 5;  // outside links named in a message; the rest are counted

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

PackEntry InMemory(BookEntry entry) {
  const uintmax_t size = entry.content.size();
  return {std::move(entry.name), std::move(entry.content), {}, size};
}

// Where each stored name came from, so that two files meeting under one name can be named.
void CheckUniqueNames(const std::vector<PackEntry>& entries,
                      const std::vector<std::string>& origins) {
  std::map<std::string, size_t> seen;
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto [it, added] = seen.emplace(UpperAscii(entries[i].name), i);
    if (!added)
      throw PackError(origins[it->second] + " and " + origins[i] + " would both be stored as " +
                      it->first + "; only the first could be read");
  }
}

void CheckPages(std::string_view settingsOrigin, std::string_view tocOrigin,
                const std::set<std::string>& stored, std::string_view settingsText,
                const TocTree& tree, const std::vector<int>& lines,
                std::vector<std::string>& warnings) {
  auto missing = [&](std::string_view page) {
    page = TrimControl(page);
    if (page.empty()) return false;
    return !ResolveEntryName(UpperAscii(page), [&](std::string_view name) {
      return stored.count(UpperAscii(name)) > 0;
    });
  };
  const std::string home = IniText(settingsText).ReadString("cSettings", "home");
  if (missing(home))
    warnings.push_back(std::string(settingsOrigin) + ": start page \"" + home +
                       "\" is not in the book");
  for (size_t i = 0; i < tree.nodes.size(); ++i) {
    const std::string page = TocPageName(tree.nodes[i].data);
    if (missing(page))
      warnings.push_back(
          std::string(tocOrigin) +
          (lines.empty() ? "" : ", line " + std::to_string(i < lines.size() ? lines[i] : 0)) +
          ": page \"" + page + "\" is not in the book");
  }
}

std::string DescribeLinks(const std::vector<OutsideLink>& links) {
  std::string text;
  for (size_t i = 0; i < links.size() && i < kLinksNamed; ++i)
    text += (i ? ", " : "") + links[i].name + " -> " + links[i].target;
  if (links.size() > kLinksNamed)
    text += " and " + std::to_string(links.size() - kLinksNamed) + " more";
  return text;
}

// Files that are links to outside the folder: the system's shared files are packed with a
// note; any other file is refused unless the author asks for it (a folder from elsewhere must
// not carry the builder's own files, ~/.ssh or /etc/passwd, into a book unnoticed).
std::vector<OutsideLink> SortOutsideLinks(const SourceFiles& source, bool follow, bool forCheck,
                                          std::vector<std::string>& warnings) {
  std::vector<OutsideLink> shared, other;
  for (const OutsideLink& link : source.outsideLinks)
    (link.shared ? shared : other).push_back(link);
  if (!shared.empty())
    warnings.push_back(std::to_string(shared.size()) +
                       (shared.size() == 1 ? " file is a link" : " files are links") +
                       " to the system's shared files, packed as copies: " + DescribeLinks(shared));
  if (other.empty()) return {};
  if (follow) {
    warnings.push_back(
        std::to_string(other.size()) +
        (other.size() == 1 ? " file is a link" : " files are links") +
        " to outside the source folder, packed as --follow-links asks: " + DescribeLinks(other));
    return {};
  }
  if (forCheck) return other;
  throw PackError(std::to_string(other.size()) +
                  (other.size() == 1 ? " file is a link" : " files are links") +
                  " to outside the source folder: " + DescribeLinks(other) +
                  "; a book packs such files only with --follow-links (check what they are "
                  "first), or copy them into the folder");
}

std::string SettingsFor(const BuildOptions& options, const std::vector<PackEntry>& files,
                        const std::string& start, bool contents, BuildResult& result,
                        bool& stored) {
  stored = true;
  std::string text;
  if (options.settings == kNone) {
    stored = false;
  } else if (!options.settings.empty()) {
    text = SettingsEntry(options.settings, result.warnings).content;
  } else {
    DefaultSettingsFacts facts;
    facts.start = start;
    facts.contents = contents;
    facts.logo = !options.logo.empty();
    facts.number = BookNumberFor(fs::absolute(options.source).lexically_normal().string());
    for (const PackEntry& file : files)
      if (file.name == start) {
        try {
          facts.title = EncodeBookText(PageTitle(EntryContent(file)));
        } catch (const std::exception&) {
        }
      }
    if (facts.title.empty()) facts.title = options.source.filename().string();
    if (facts.title.empty())
      facts.title = fs::absolute(options.source).parent_path().filename().string();
    text = DefaultSettingsText(facts);
  }
  std::vector<SettingChange> changes;
  if (options.title) changes.push_back({"cInfo", "title", *options.title});
  if (options.start) changes.push_back({"cSettings", "home", *options.start});
  changes.insert(changes.end(), options.changes.begin(), options.changes.end());
  for (const SettingChange& change : changes) {
    if (!stored)
      throw PackError("--settings none stores no settings, so nothing can be set in them");
    if (!IsViewerSetting(change.section, change.key))
      result.warnings.push_back("--set " + change.section + "." + change.key +
                                ": not a setting the viewer reads");
    text = SetSettingsValue(text, change.section, change.key, EncodeBookText(change.value));
  }
  return text;
}

}  // namespace

fs::path BookImageFolder() {
  return (fs::path(ExecutableFolder()).parent_path() / "lib" / "quirel-ebook").lexically_normal();
}

CollectedBook CollectBookEntries(const BuildOptions& options, BuildResult& result, bool forCheck) {
  if (options.splash.empty() != !options.splashSeconds)
    throw PackError("--splash and --splash-seconds go together: give both or neither");
  std::vector<std::string>& warnings = result.warnings;
  CollectedBook book;

  SourceFiles source = ReadSourceFolder(options.source, options.output, warnings);
  book.refusedLinks = SortOutsideLinks(source, options.followLinks, forCheck, warnings);
  for (const OutsideLink& link : source.outsideLinks)
    if (link.shared || options.followLinks) book.packedLinks.push_back(link);
  const std::vector<PackEntry>& files = source.files;

  // The start page decides the settings' title and where derived contents are looked for.
  std::string start;
  if (options.start) {
    start = *options.start;
  } else if (!options.settings.empty() && options.settings != kNone) {
    start = IniText(ToCrLf(ReadFileBytes(options.settings, "settings file")))
                .ReadString("cSettings", "home");
  } else if (options.settings.empty()) {
    start = DefaultStartPage(files);
  }
  result.startPage = start;

  std::vector<std::string> origins;
  auto add = [&](PackEntry entry, std::string origin) {
    book.entries.push_back(std::move(entry));
    origins.push_back(std::move(origin));
  };

  TocTree tree;
  std::vector<int> lines;
  std::string tocOrigin = "contents file " + options.toc.string();
  const bool derive =
      options.toc == kAuto || (options.toc.empty() && PagesInFolderOrder(files).size() > 1);
  if (derive) {
    DerivedContents derived = DeriveContents(files, start);
    tree = std::move(derived.tree);
    result.contents = derived.source;
    tocOrigin = "contents made from " + derived.source;
  } else if (!options.toc.empty() && options.toc != kNone) {
    (void)ContentsEntry(options.toc, tree, lines);
    result.contents = "contents file " + options.toc.string();
  }
  result.contentsNodes = tree.nodes.size();
  const bool contents = !tree.nodes.empty();

  bool haveSettings = false;
  const std::string settingsText =
      SettingsFor(options, files, start, contents, result, haveSettings);
  if (contents && haveSettings && !IniText(settingsText).ReadBool("PFiles", "UseTOC"))
    warnings.push_back("the book has contents (" + result.contents +
                       "), but its settings do not load them: set PFiles/UseTOC=1 "
                       "(and UseTOCauto=1 to open them at start)");
  const std::string settingsOrigin = options.settings.empty()
                                         ? std::string("settings made for the folder")
                                         : "settings file " + options.settings.string();
  if (haveSettings) add(InMemory({std::string(kSettingsEntry), settingsText}), settingsOrigin);
  if (!options.splash.empty())
    for (BookEntry& entry : SplashEntries(options.splash, *options.splashSeconds))
      add(InMemory(std::move(entry)), "splash picture " + options.splash.string());
  if (!options.logo.empty())
    add(InMemory(LogoEntry(options.logo)), "logo picture " + options.logo.string());
  if (!options.buttons.empty())
    for (BookEntry& entry : ButtonEntries(options.buttons, warnings)) {
      std::string origin = "button picture " + entry.name + " of " + options.buttons.string();
      add(InMemory(std::move(entry)), std::move(origin));
    }
  if (contents) add(InMemory({std::string(kTocEntry), WriteTocStream(tree)}), tocOrigin);

  std::set<std::string> stored;  // the book files' names as the viewer looks them up
  for (PackEntry& file : source.files) {
    if (IsInternalEntry(file.name))
      warnings.push_back("\"" + file.name +
                         "\": names ending in .QRLC belong to the book's own entries; "
                         "the viewer never serves this file as a page");
    stored.insert(UpperAscii(file.name));
    std::string origin = "source file \"" + file.name + "\"";
    add(std::move(file), std::move(origin));
  }
  CheckUniqueNames(book.entries, origins);
  CheckPages(settingsOrigin, tocOrigin, stored, settingsText, tree, lines, warnings);
  SortPackEntries(book.entries);
  return book;
}

BuildResult BuildBook(const BuildOptions& options) {
  BuildResult result;
  if (options.splash.empty() != !options.splashSeconds)
    throw PackError("--splash and --splash-seconds go together: give both or neither");
  if (options.level < 0 || options.level > 9)
    throw PackError("--level " + std::to_string(options.level) + " is not a level from 0 to 9");
  const std::string viewer = ReadBookFront(options);
  const CollectedBook book = CollectBookEntries(options, result);
  uintmax_t total = 0;
  for (const PackEntry& entry : book.entries) total += entry.size;

  AtomicFile file(options.output);
  file.Write(viewer);
  uintmax_t bytes = viewer.size();
  Progress progress(options.progress, "building", book.entries.size(), total);
  WriteEntries(
      book.entries, options.level,
      [&](std::string_view encoded) {
        file.Write(encoded);
        bytes += encoded.size();
      },
      &progress);
  progress.Finish();
  file.Commit(kBookMode);
  result.entries = book.entries.size();
  result.bytes = bytes;
  return result;
}

}  // namespace ebook
