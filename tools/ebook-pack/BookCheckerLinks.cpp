// The checks that follow links: the start page and the contents nodes, links and pictures
// that name no entry or no place, and pages that nothing leads to.

#include <algorithm>
#include <map>
#include <set>

#include "BookChecker.h"
#include "contents/TocStream.h"
#include "navigation/EntryLookup.h"
#include "search/SearchText.h"
#include "settings/IniText.h"
#include "settings/OptionString.h"
#include "settings/SettingsKeys.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

constexpr size_t kPagesNamed = 3;  // pages a grouped finding names

// "#top" needs no id: a browser scrolls to the page's top for it.
bool IsPlace(const std::unordered_set<std::string>& ids, const std::string& fragment) {
  return ids.count(fragment) || LowerAscii(fragment) == "top";
}

}  // namespace

void BookChecker::CheckStartAndContents() {
  const IniText ini(settingsText_);
  const OptionString options(ini.ReadString("cSettings", "DATA"));
  const bool byContents = options.is(opt::kContentsNavigation, '1');
  const bool useToc = ini.ReadBool("PFiles", "UseTOC");
  const std::string& stream = Content(std::string(kTocEntry));

  const std::string home(TrimControl(ini.ReadString("cSettings", "home")));
  if (!byContents && home.empty())
    Error("start page", "settings",
          "no start page (cSettings/home); the viewer opens an empty page");
  if (!home.empty()) {
    const LinkTarget target = ResolveLink("", home);
    const std::string found = target.kind == LinkTargetKind::Entry ? Lookup(target.request) : "";
    if (!found.empty())
      roots_.push_back(found);
    else if (!byContents)
      Error("start page", "settings", "the start page " + Quoted(home) + " names no entry");
  }

  if (stream.empty()) {
    if (byContents)
      Error("contents", "contents",
            "the book moves through its contents (option string offset 19), but "
            "has none; the viewer shows no page");
    return;
  }
  if (!useToc) {
    const std::string unused = "PFiles/UseTOC is off, so the viewer never loads the contents";
    if (byContents)
      Error("contents", "contents", unused);
    else
      Warning("contents", "contents", unused);
  }
  const TocTree tree = ReadTocStream(stream);
  if (tree.damaged)
    Error("contents", "contents",
          "the stored tree is damaged after node " + std::to_string(tree.nodes.size()));
  for (size_t i = 0; i < tree.nodes.size(); ++i) {
    const std::string page(TrimControl(TocPageName(tree.nodes[i].data)));
    if (page.empty()) continue;
    const std::string where =
        "contents node " + std::to_string(i + 1) + " " + Quoted(tree.nodes[i].caption);
    const LinkTarget target = ResolveLink("", page);
    if (target.kind != LinkTargetKind::Entry) continue;
    const std::string found = Lookup(target.request);
    if (found.empty()) {
      Error("contents", where,
            "the page " + Quoted(page) + " names no entry (" + target.entry + ")");
      continue;
    }
    if (useToc) roots_.push_back(found);
    const auto facts = pages_.find(found);
    if (!target.fragment.empty() && IsHtml(found) && facts != pages_.end() &&
        !IsPlace(facts->second.ids, target.fragment))
      Warning("missing anchor", where,
              "the page " + Quoted(page) + " has no id or name " + Quoted(target.fragment) +
                  "; the node opens the page at its top");
  }
}

void BookChecker::Note(std::map<std::string, LinkGroup>& groups, std::vector<std::string>& order,
                       const std::string& key, const std::string& page, int line) {
  auto [it, added] = groups.try_emplace(key);
  if (added) order.push_back(key);
  LinkGroup& group = it->second;
  ++group.links;
  if (group.pages.insert(page).second && group.from.size() < kPagesNamed)
    group.from.push_back(page + ", line " + std::to_string(line));
}

void BookChecker::CheckLinks() {
  std::map<std::string, LinkGroup> missing, anchors;
  std::vector<std::string> missingOrder, anchorOrder;
  std::map<std::string, std::string> firstAddress;  // group key -> the first link as written
  for (const std::string& name : names_) {
    const auto facts = pages_.find(name);
    if (facts == pages_.end()) continue;
    const bool html = IsHtml(name);
    for (const PageLink& link : facts->second.links) {
      const LinkTarget target = ResolveLink(name, link.address);
      if (target.kind == LinkTargetKind::AboveTop) {
        Error("link above the top", name + ", line " + std::to_string(link.line),
              link.kind + " " + Quoted(link.address) +
                  " climbs above the book's top folder; in temp-folder mode it leaves the book");
        continue;
      }
      if (target.kind != LinkTargetKind::Entry) continue;
      const std::string found = Lookup(target.request);
      if (found.empty()) {
        const std::string key = target.entry.empty() ? "(the book's top folder)" : target.entry;
        Note(missing, missingOrder, key, name, link.line);
        firstAddress.try_emplace(key, link.kind + " " + Quoted(link.address));
        continue;
      }
      if (html && found != name) pageLinks_[name].insert(found);
      if (target.fragment.empty() || !IsHtml(found)) continue;
      const auto targetFacts = pages_.find(found);
      if (targetFacts == pages_.end() || IsPlace(targetFacts->second.ids, target.fragment))
        continue;
      const std::string key = found + "#" + target.fragment;
      Note(anchors, anchorOrder, key, name, link.line);
      firstAddress.try_emplace(key, link.kind + " " + Quoted(link.address));
    }
  }
  auto report = [&](const std::map<std::string, LinkGroup>& groups,
                    const std::vector<std::string>& order, bool error, const std::string& kind,
                    const std::string& problem) {
    for (const std::string& key : order) {
      const LinkGroup& group = groups.at(key);
      std::string from;
      for (size_t i = 0; i < group.from.size(); ++i) from += (i ? "; " : "") + group.from[i];
      if (group.pages.size() > group.from.size())
        from += " and " + Plural(group.pages.size() - group.from.size(), "more page", "more pages");
      Finding finding;
      finding.severity = error ? Finding::Severity::Error : Finding::Severity::Warning;
      finding.kind = kind;
      finding.where = key;
      finding.what = problem + "; " +
                     (group.links == 1 ? "1 link leads here (" + firstAddress.at(key) + ")"
                                       : std::to_string(group.links) + " links lead here") +
                     ", from " + from;
      finding.links = group.links;
      finding.from = group.from;
      findings_.push_back(std::move(finding));
    }
  };
  report(missing, missingOrder, true, "missing entry", "no entry has this name");
  report(anchors, anchorOrder, false, "missing anchor",
         "the page has no id or name for this fragment; the link opens the page at its top");
}

void BookChecker::CheckReach() {
  if (roots_.empty()) return;  // no way in at all is reported as such
  std::unordered_set<std::string> reached(roots_.begin(), roots_.end());
  std::vector<std::string> pending(roots_.begin(), roots_.end());
  while (!pending.empty()) {
    const std::string page = std::move(pending.back());
    pending.pop_back();
    const auto links = pageLinks_.find(page);
    if (links == pageLinks_.end()) continue;
    for (const std::string& target : links->second)
      if (reached.insert(target).second) pending.push_back(target);
  }
  // Pages nothing reaches often come by the folder (a generator's sources, an old part kept
  // on the side): more than a few in one top folder make one finding.
  std::map<std::string, std::vector<std::string>> byFolder;
  std::vector<std::string> folderOrder;
  for (const std::string& name : names_) {
    if (!IsSearchablePage(name) || reached.count(name)) continue;
    const size_t slash = name.find('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
    auto [it, added] = byFolder.try_emplace(folder);
    if (added) folderOrder.push_back(folder);
    it->second.push_back(name);
  }
  for (const std::string& folder : folderOrder) {
    const std::vector<std::string>& pages = byFolder.at(folder);
    if (folder.empty() || pages.size() <= kPagesNamed) {
      for (const std::string& page : pages)
        Warning("unreached page", page, "no contents node and no link reaches this page");
      continue;
    }
    std::string some;
    for (size_t i = 0; i < kPagesNamed; ++i) some += (i ? ", " : "") + pages[i];
    Warning("unreached page", folder,
            "no contents node and no link reaches " + std::to_string(pages.size()) +
                " pages in this folder: " + some + " and " +
                Plural(pages.size() - kPagesNamed, "more", "more"));
  }
}

}  // namespace ebook
