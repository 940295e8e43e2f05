#pragma once
// Finds what would make a book misbehave in the viewer, reading it the way the viewer reads it:
// entries that cannot be inflated or served, settings the viewer never reads, pictures that
// are not bitmaps, a start page, contents nodes, links and pictures that name no entry, and
// pages that nothing leads to.
//
// An error is something the reader will see go wrong (an empty page, a missing picture, a
// switch that is not there); a warning is something the author most likely did not mean.

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "BookBuilder.h"
#include "archive/BookImage.h"

namespace ebook {

struct Finding {
  enum class Severity { Error, Warning };
  Severity severity = Severity::Error;
  std::string where;  // "INDEX.HTML, line 12", "settings, line 4", "contents node 3 \"Intro\""
  std::string what;
};

// "error: WHERE: WHAT" or "warning: WHERE: WHAT".
std::string FormatFinding(const Finding& finding);

class BookChecker {
 public:
  explicit BookChecker(const BookImage& book) : book_(book) {}

  // Every finding, in this order: entries, settings, pictures, start page, contents, links of
  // each page in archive order, pages nothing reaches.
  std::vector<Finding> Run();

 private:
  void ReadEntries();
  void CheckSettings();
  void CheckPictures();
  void CheckStartAndContents();
  void CheckLinks();
  void CheckReach();

  void Error(std::string where, std::string what);
  void Warning(std::string where, std::string what);
  bool Stored(const std::string& name) const;
  const std::string& Content(const std::string& name) const;

  const BookImage& book_;
  std::vector<Finding> findings_;
  std::vector<std::string> names_;           // stored names in archive order, each once
  std::vector<std::string> sorted_;          // the same, sorted for look-ups
  std::map<std::string, std::string> kept_;  // content of the internal, HTML and CSS entries
  std::string settingsText_;
  std::vector<std::string> roots_;                              // pages the viewer opens by itself
  std::vector<std::pair<std::string, std::string>> pageLinks_;  // page, entry it links
};

// The book `options.source` would become, built in memory with the build's own entry makers
// (the archive alone, without a viewer program). Throws PackError as build does.
BookImage BookFromFolder(const BuildOptions& options);

// True when no address can name the entry: the browser percent-encodes one of its bytes,
// reads it as the start of a query or fragment ("?", "#") or as a folder separator ("\"), or
// the viewer would decode it ("%20").
bool ViewerCannotServe(std::string_view name);

}  // namespace ebook
