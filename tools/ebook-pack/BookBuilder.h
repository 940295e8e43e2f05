#pragma once
// Builds a book: the viewer program with the archive of an author's files appended.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "BookWriter.h"
#include "SourceFolder.h"

namespace ebook {

// The value of --settings and --toc that stores none, and of --toc that derives the contents.
inline constexpr std::string_view kNone = "none";
inline constexpr std::string_view kAuto = "auto";

struct SettingChange {
  std::string section, key, value;  // value in UTF-8, as typed
};

struct BuildOptions {
  std::filesystem::path source;    // the book's top folder
  std::filesystem::path output;    // the book file to write
  std::filesystem::path settings;  // empty: made for the folder; "none": no settings entry
  std::filesystem::path toc;       // empty: "auto" when the folder has pages; "none"; a file
  std::filesystem::path splash;
  std::optional<std::string> splashSeconds;
  std::filesystem::path logo;
  std::filesystem::path buttons;
  std::filesystem::path viewer;        // empty: the `ebook` program beside this tool
  std::optional<std::string> title;    // --title, UTF-8
  std::optional<std::string> start;    // --start
  std::vector<SettingChange> changes;  // --set, in order
  int level = kDefaultLevel;
  bool followLinks = false;          // pack files reached through links to outside the folder
  std::ostream* progress = nullptr;  // the terminal to draw progress on, if any
};

struct BuildResult {
  size_t entries = 0;
  uintmax_t bytes = 0;
  std::vector<std::string> warnings;  // things the book will get wrong, one sentence each
  std::string startPage;              // "" for none
  std::string contents;               // where the contents came from, "" for none
  size_t contentsNodes = 0;
};

struct CollectedBook {
  std::vector<PackEntry> entries;  // in book order
  // Files reached through links to outside the folder, which a build without --follow-links
  // refuses (a check reports them instead).
  std::vector<OutsideLink> refusedLinks;
  // Those packed as copies: the system's shared files, and any under --follow-links.
  std::vector<OutsideLink> packedLinks;
};

// The entries a build of `options` stores, in book order, after the build's checks (throws
// PackError); things the book will get wrong are added to `result.warnings`. Reads only what it
// must to decide (the start page, the pages contents are made from); writes nothing. With
// `forCheck`, links to outside files are handed back instead of refused.
CollectedBook CollectBookEntries(const BuildOptions& options, BuildResult& result,
                                 bool forCheck = false);

// Writes the book, or throws PackError and leaves `output` as it was.
BuildResult BuildBook(const BuildOptions& options);

// The viewer program used when none is given: `ebook` in this program's folder.
std::filesystem::path DefaultViewerPath();

}  // namespace ebook
