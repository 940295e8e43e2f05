#pragma once
// Finds what would make a book misbehave in the viewer, reading it the way the viewer reads it:
// entries that cannot be inflated, served or extracted, settings the viewer never reads,
// pictures that are not bitmaps, a start page, contents nodes, links and pictures that name no
// entry, "#fragments" the target page has no place for, and pages that nothing leads to.
//
// Links are looked up as the viewer looks page requests up (navigation/EntryLookup), so a link
// the viewer serves is never reported and one it cannot serve always is. Links to one missing
// entry, or one missing place, make one finding with their count and the first pages that
// hold them.
//
// An error is something the reader will see go wrong (an empty page, a missing picture, a
// switch that is not there); a warning is something the author most likely did not mean.
//
// Pages are inflated one at a time (on every core) and only their links and ids are kept, so
// a check takes little more memory than the book file itself.

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "BookBuilder.h"
#include "CheckReport.h"
#include "EntryProblems.h"
#include "PageLinks.h"
#include "archive/BookImage.h"

namespace ebook {

class Progress;

class BookChecker {
 public:
  explicit BookChecker(const BookImage& book, Progress* progress = nullptr)
      : book_(book), progress_(progress) {}

  // Every finding, in this order: entries, settings, pictures, start page, contents, links in
  // archive order of their first page, pages nothing reaches.
  std::vector<Finding> Run();

 private:
  struct PageFacts {
    std::vector<PageLink> links;
    std::unordered_set<std::string> ids;
    std::string failure;  // what inflating it said, "" when it inflated
    bool unread = false;  // inflated, but no memory was left to read its links
  };
  struct LinkGroup {
    size_t links = 0;
    std::vector<std::string> from;  // first pages, "PAGE, line N"
    std::set<std::string> pages;
    bool error = true;
  };

  void ReadEntries();
  void CheckExtraction();
  void ReadPages();
  void CheckSettings();
  void CheckPictures();
  void CheckStartAndContents();
  void CheckLinks();
  void CheckReach();

  void Add(Finding::Severity severity, std::string kind, std::string where, std::string what);
  void Error(std::string kind, std::string where, std::string what);
  void Warning(std::string kind, std::string where, std::string what);
  // The stored entry a request finds, as the viewer looks it up; "" when none.
  std::string Lookup(const std::string& request) const;
  // Notes a link from `page` (line `line`) to a missing entry or place.
  void Note(std::map<std::string, LinkGroup>& groups, std::vector<std::string>& order,
            const std::string& key, const std::string& page, int line);
  const std::string& Content(const std::string& name) const;

  static bool IsHtml(std::string_view name);
  static std::string Quoted(std::string_view text);  // "text", quotes included
  static std::string Plural(size_t count, std::string_view one, std::string_view many);

  const BookImage& book_;
  Progress* progress_;
  std::vector<Finding> findings_;
  std::vector<std::string> names_;                    // stored names in archive order, each once
  std::unordered_set<std::string> stored_;            // the same, for look-ups
  std::map<std::string, std::string> kept_;           // content of the internal entries
  std::unordered_map<std::string, PageFacts> pages_;  // links and ids of the HTML and CSS entries
  std::string settingsText_;
  std::vector<std::string> roots_;  // pages the viewer opens by itself
  // The entries each page links, deduplicated.
  std::unordered_map<std::string, std::unordered_set<std::string>> pageLinks_;
};

struct FolderBook {
  BookImage book;
  std::vector<Finding> findings;  // what the build says about the folder that the book cannot show
};

// The book `options.source` would become, built in memory with the build's own entry makers
// (the archive alone, without a viewer program). Throws PackError as build does, except for
// files reached through links to outside the folder, which are packed and reported.
FolderBook BookFromFolder(const BuildOptions& options);

}  // namespace ebook
