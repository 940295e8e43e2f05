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
#include "search/SearchText.h"
#include "settings/Colors.h"
#include "settings/IniText.h"
#include "settings/OptionString.h"
#include "settings/SettingsKeys.h"
#include "text/Ascii.h"
#include "archive/InternalEntries.h"

namespace ebook {
namespace {

bool IsStyleSheet(std::string_view name) { return NameExtension(name) == ".CSS"; }

std::string LowerKey(std::string_view section, std::string_view key) {
  return LowerAscii(std::string(section) + "/" + std::string(key));
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

constexpr size_t kCheckedCopy = 16 << 20;        // a page copy whose memory is asked for first
constexpr size_t kSharedInflation = 128 * 1024;  // stored bytes that inflate to at most 132 MB

// The entry `page`'s folder part and its parents: "A/B/C.HTML" gives "A" and "A/B".
void AddFolders(std::string_view name, std::set<std::string>& folders) {
  for (size_t at = name.find('/'); at != std::string_view::npos; at = name.find('/', at + 1))
    if (at > 0) folders.emplace(name.substr(0, at));
}

}  // namespace

bool BookChecker::IsHtml(std::string_view name) {
  const std::string_view extension = NameExtension(name);
  return extension == ".HTM" || extension == ".HTML";
}

std::string BookChecker::Quoted(std::string_view text) { return '"' + std::string(text) + '"'; }

std::string BookChecker::Plural(size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

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
