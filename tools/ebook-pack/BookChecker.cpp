#include "BookChecker.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <shared_mutex>
#include <thread>
#include <unordered_set>

#include "EntryProblems.h"
#include "InternalEntryFiles.h"
#include "PackError.h"
#include "PageLinks.h"
#include "Progress.h"
#include "SourceFolder.h"
#include "archive/ArchiveWriter.h"
#include "navigation/EntryLookup.h"
#include "platform/TempFolder.h"
#include "archive/MemoryBudget.h"
#include "archive/ZLib.h"
#include "contents/TocStream.h"
#include "search/SearchText.h"
#include "settings/Colors.h"
#include "settings/IniText.h"
#include "settings/OptionString.h"
#include "settings/SettingsKeys.h"
#include "text/Ascii.h"
#include "archive/InternalEntries.h"

namespace ebook {
namespace {

bool IsHtml(std::string_view name) {
  const std::string_view extension = NameExtension(name);
  return extension == ".HTM" || extension == ".HTML";
}
bool IsStyleSheet(std::string_view name) { return NameExtension(name) == ".CSS"; }

std::string Quoted(std::string_view text) {
  std::string quoted(1, '"');
  quoted += text;
  quoted += '"';
  return quoted;
}

std::string LowerKey(std::string_view section, std::string_view key) {
  std::string joined = std::string(section) + "/" + std::string(key);
  for (char& c : joined)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return joined;
}

// The picture entries the viewer loads as Windows bitmaps, and what each one is.
std::vector<std::pair<std::string, std::string>> PictureEntries() {
  std::vector<std::pair<std::string, std::string>> pictures;
  for (int button = 1; button <= 10; ++button)
    pictures.emplace_back(ButtonPictureEntry(button),
                          "toolbar button picture");
  pictures.emplace_back(std::string(kLogoEntry), "logo picture");
  pictures.emplace_back(std::string(kSplashPictureEntry), "splash picture");
  return pictures;
}

}  // namespace

namespace {

constexpr size_t kPagesNamed = 3;                // pages a grouped finding names
constexpr size_t kCheckedCopy = 16 << 20;        // a page copy whose memory is asked for first
constexpr size_t kSharedInflation = 128 * 1024;  // stored bytes that inflate to at most 132 MB

std::string Plural(size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// The entry `page`'s folder part and its parents: "A/B/C.HTML" gives "A" and "A/B".
void AddFolders(std::string_view name, std::set<std::string>& folders) {
  for (size_t at = name.find('/'); at != std::string_view::npos; at = name.find('/', at + 1))
    if (at > 0) folders.emplace(name.substr(0, at));
}

// "#top" needs no id: a browser scrolls to the page's top for it.
bool IsPlace(const std::unordered_set<std::string>& ids, const std::string& fragment) {
  if (ids.count(fragment)) return true;
  std::string lower = fragment;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower == "top";
}

}  // namespace

void BookChecker::Add(Finding::Severity severity, std::string kind, std::string where,
                      std::string what) {
  Finding finding;
  finding.severity = severity;
  finding.kind = std::move(kind);
  finding.where = std::move(where);
  finding.what = std::move(what);
  findings_.push_back(std::move(finding));
}
void BookChecker::Error(std::string kind, std::string where, std::string what) {
  Add(Finding::Severity::Error, std::move(kind), std::move(where), std::move(what));
}
void BookChecker::Warning(std::string kind, std::string where, std::string what) {
  Add(Finding::Severity::Warning, std::move(kind), std::move(where), std::move(what));
}

std::string BookChecker::Lookup(const std::string& request) const {
  return UpperAscii(ResolveEntryName(request, [this](std::string_view name) {
                      return stored_.count(UpperAscii(name)) > 0;
                    }).value_or(""));
}

const std::string& BookChecker::Content(const std::string& name) const {
  static const std::string kNone;
  const auto found = kept_.find(name);
  return found == kept_.end() ? kNone : found->second;
}

std::vector<Finding> BookChecker::Run() {
  ReadEntries();
  CheckExtraction();
  ReadPages();
  CheckSettings();
  CheckPictures();
  CheckStartAndContents();
  CheckLinks();
  CheckReach();
  return std::move(findings_);
}

// Names, damage, and the internal entries, which later checks read.
void BookChecker::ReadEntries() {
  std::set<std::string_view> seen;
  for (const IndexedEntry& entry : book_.index().entries()) {
    const std::string name(entry.name);
    if (!seen.insert(entry.name).second) {
      Warning("entry stored twice", name, "stored twice; the viewer only ever reads the first");
      continue;
    }
    names_.push_back(name);
    stored_.insert(name);
    if (!entry.intact) {
      Error("damaged entry", name, "damaged: the end marker that closes its data is missing");
      continue;
    }
    if (IsInternalEntry(name)) {
      try {
        kept_.emplace(name, book_.ReadEntry(name));
      } catch (const EZDecompressionError& error) {
        Error("damaged entry", name, std::string("cannot be inflated: ") + error.what());
      }
      continue;
    }
    if (name != UpperAscii(name))
      Error("entry name", name, "stored with lower-case letters, which the viewer never finds");
    else if (ViewerCannotServe(name))
      Error("entry name", name,
            "the viewer cannot serve this name: a browser drops its control characters from "
            "an address");
  }
}

// Names the temporary folder cannot hold as files: the viewer skips them in temp-folder mode.
void BookChecker::CheckExtraction() {
  std::set<std::string> folders;
  for (const std::string& name : names_)
    if (!IsInternalEntry(name) && IsSafeEntryName(name)) AddFolders(DiskName(name), folders);
  const std::string lost = "cannot be extracted to a folder, so temp-folder mode skips it: ";
  for (const std::string& name : names_) {
    if (IsInternalEntry(name)) continue;
    if (!IsSafeEntryName(name)) {
      Error("unextractable name", name,
            lost + "the name would leave the folder (a \"..\" part, a leading \"/\" or a \":\")");
      continue;
    }
    const std::string path = DiskName(name);
    if (const std::string problem = UncreatableName(name); !problem.empty()) {
      Error("unextractable name", name, lost + problem);
    } else if (folders.count(path)) {
      const auto other = std::find_if(names_.begin(), names_.end(), [&](const std::string& n) {
        return DiskName(n).starts_with(path + "/");
      });
      Error("unextractable name", name,
            lost + "the entry " + (other == names_.end() ? path + "/..." : *other) +
                " needs a folder of the same name");
    }
  }
}

// Inflates every book file once, as the viewer would on asking for it, on every core; keeps
// the links and ids of pages and style sheets.
void BookChecker::ReadPages() {
  std::vector<std::string> todo;
  uintmax_t total = 0;
  for (const std::string& name : names_) {
    const IndexedEntry* entry = book_.index().Find(name);
    if (IsInternalEntry(name) || !entry->intact) continue;
    todo.push_back(name);
    total += entry->dataEnd - entry->dataBegin;
  }
  if (progress_) progress_->SetTotals(todo.size(), total);
  std::vector<PageFacts> facts(todo.size());
  std::atomic<size_t> next{0}, done{0};
  std::atomic<uintmax_t> bytesDone{0};
  std::shared_mutex inflating;
  // The calling thread works too, and draws the progress between its entries.
  auto work = [&](bool draw) {
    for (size_t i; (i = next++) < todo.size();) {
      const std::string& name = todo[i];
      const IndexedEntry* entry = book_.index().Find(name);
      PageFacts& page = facts[i];
      const size_t stored = entry->dataEnd - entry->dataBegin;
      try {
        // Deflate shrinks at most about 1032 to 1, so a small entry inflates to little and
        // several may inflate at once inside the memory every inflation leaves free; a larger
        // one may be a bomb, and inflates alone so that its memory check sees all there is.
        std::shared_lock shared(inflating, std::defer_lock);
        std::unique_lock alone(inflating, std::defer_lock);
        if (stored > kSharedInflation)
          alone.lock();
        else
          shared.lock();
        const std::string content = book_.ReadEntry(name);
        // Reading the links takes a lower-cased copy of the text; copies of small pages fit in
        // the memory every inflation leaves free.
        if ((IsHtml(name) || IsStyleSheet(name)) && content.size() > kCheckedCopy) {
          try {
            EnsureMemoryFor(content.size());
          } catch (const std::bad_alloc&) {
            page.unread = true;
          }
        }
        if (!page.unread && IsHtml(name)) {
          std::vector<std::string> ids;
          page.links = HtmlLinks(content, &ids);
          page.ids.insert(std::make_move_iterator(ids.begin()), std::make_move_iterator(ids.end()));
        } else if (!page.unread && IsStyleSheet(name)) {
          page.links = CssLinks(content);
        }
      } catch (const EZDecompressionError& error) {
        page.failure = error.what();
      } catch (const std::bad_alloc&) {
        page.failure = "insufficient memory";
      }
      bytesDone += stored;
      ++done;
      if (draw && progress_) progress_->Update(done, bytesDone);
    }
  };
  const size_t threads = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> workers;
  for (size_t t = 1; t < threads; ++t) workers.emplace_back(work, false);
  work(true);
  for (std::thread& worker : workers) worker.join();
  if (progress_) {
    // The other threads may have read the last entries: the bar ends full all the same.
    progress_->Update(todo.size(), total);
    progress_->Finish();
  }
  for (size_t i = 0; i < todo.size(); ++i) {
    if (!facts[i].failure.empty())
      Error("damaged entry", todo[i], "cannot be inflated: " + facts[i].failure);
    else if (facts[i].unread)
      Warning("unread page", todo[i],
              "too large to read its links in the memory left; its links are not checked");
    else if (IsHtml(todo[i]) || IsStyleSheet(todo[i]))
      pages_.emplace(todo[i], std::move(facts[i]));
  }
}
void BookChecker::CheckSettings() {
  settingsText_ = Content(std::string(kSettingsEntry));
  const std::string_view text = settingsText_;
  if (text.find('\n') != std::string_view::npos && text.find("\r\n") == std::string_view::npos)
    Error("settings", "settings",
          "lines end in LF alone; the viewer splits lines at CR LF only, so it "
          "reads no setting at all");
  const IniText ini(text);
  // IniText counts lines from the first one left after trimming the whole text.
  const std::string_view trimmed = TrimControl(text);
  const std::string_view lead = text.substr(0, static_cast<size_t>(trimmed.data() - text.data()));
  int skipped = 0;
  for (size_t at = 0; (at = lead.find("\r\n", at)) != std::string_view::npos; at += 2) ++skipped;
  auto lineText = [&](int line) { return "line " + std::to_string(line + skipped); };
  auto where = [&](int line) { return "settings, " + lineText(line); };

  std::map<std::string, const SettingKey*> known;
  for (const SettingKey& key : SettingsKeys()) known.emplace(LowerKey(key.section, key.key), &key);
  std::map<std::string, int> firstLine;
  int dataLine = 0;
  for (const IniText::Line& line : ini.lines()) {
    const std::string key = LowerKey(line.section, line.key);
    const auto [first, added] = firstLine.emplace(key, line.lineNumber);
    const auto setting = known.find(key);
    if (setting == known.end())
      Warning(
          "settings", where(line.lineNumber),
          line.section + "/" + line.key + " is not a setting the viewer reads (a misspelling?)");
    else if (!added)
      Warning("settings", where(line.lineNumber),
              line.section + "/" + line.key + " is given again; the viewer reads the one on " +
                  lineText(first->second));
    else if (const std::string problem = ValueProblem(*setting->second, line.value);
             !problem.empty())
      Warning("settings", where(line.lineNumber),
              line.section + "/" + line.key + " " + Quoted(line.value) + " " + problem);
    if (key == "csettings/data" && added) dataLine = line.lineNumber;
  }

  const std::optional<std::string> data = ini.Value("cSettings", "DATA");
  if (!data)
    Error("settings", "settings",
          "no option string (cSettings/DATA): the book has no toolbar buttons and "
          "every other switch is off");
  else if (data->size() < opt::kRequiredLength)
    Error("settings", where(dataLine),
          "the option string holds " + std::to_string(data->size()) +
              " switches; the viewer reads " + std::to_string(opt::kRequiredLength));
}

void BookChecker::CheckPictures() {
  for (const auto& [name, role] : PictureEntries()) {
    const std::string& bytes = Content(name);
    if (bytes.empty()) continue;
    if (bytes.compare(0, 2, "BM") != 0)
      Error("picture", name,
            "the " + role + " is not a Windows bitmap (it does not begin with \"BM\")");
    else if (const std::string problem = BitmapProblem(bytes); !problem.empty())
      Error("picture", name, "the " + role + " cannot be loaded: " + problem);
  }
  const OptionString options(IniText(settingsText_).ReadString("cSettings", "DATA"));
  if (options.is(opt::kLogo, '1') && Content(std::string(kLogoEntry)).empty())
    Warning("picture", std::string(kLogoEntry),
            "the option string asks for the book's own logo picture, but the book "
            "has none; the logo area stays empty");
  const std::string& marker = Content(std::string(kSplashMarkerEntry));
  if (!marker.empty() && marker.find_first_not_of("0123456789") != std::string::npos)
    Error("picture", std::string(kSplashMarkerEntry),
          "the splash time " + Quoted(marker) +
              " is not a whole number of seconds; the splash never closes");
}

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

FolderBook BookFromFolder(const BuildOptions& options) {
  BuildResult notes;  // the build's warnings; the checker makes its own findings
  const CollectedBook collected = CollectBookEntries(options, notes, /*forCheck=*/true);
  std::string archive;
  uintmax_t total = 0;
  for (const PackEntry& entry : collected.entries) total += entry.size;
  Progress progress(options.progress, "reading", collected.entries.size(), total);
  WriteEntries(
      collected.entries, options.level, [&](std::string_view encoded) { archive.append(encoded); },
      &progress);
  progress.Finish();
  FolderBook folder{BookImage::FromBytes(std::move(archive)), {}};
  for (const OutsideLink& link : collected.refusedLinks) {
    Finding finding;
    finding.kind = "link to outside";
    finding.where = link.name;
    finding.what = "a link to " + link.target +
                   ", outside the source folder; build refuses it unless given --follow-links";
    folder.findings.push_back(std::move(finding));
  }
  for (const OutsideLink& link : collected.packedLinks) {
    Finding finding;
    finding.severity = Finding::Severity::Warning;
    finding.kind = "link to outside";
    finding.where = link.name;
    finding.what = "a link to " + link.target + ", outside the source folder; build packs a copy";
    folder.findings.push_back(std::move(finding));
  }
  return folder;
}

}  // namespace ebook
