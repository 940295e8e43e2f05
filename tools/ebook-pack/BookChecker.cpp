#include "BookChecker.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>

#include "InternalEntries.h"
#include "PackError.h"
#include "PageLinks.h"
#include "SourceFolder.h"
#include "archive/ArchiveWriter.h"
#include "archive/ZLib.h"
#include "contents/TocStream.h"
#include "search/SearchText.h"
#include "settings/Colors.h"
#include "settings/IniText.h"
#include "settings/OptionString.h"
#include "settings/SettingsKeys.h"

namespace ebook {
namespace {

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool IsInternal(std::string_view name) { return EndsWith(name, ".QRLC"); }
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
    pictures.emplace_back(std::string("B").append(std::to_string(button)).append(".QRLC"),
                          "toolbar button picture");
  pictures.emplace_back("LOGO.QRLC", "logo picture");
  pictures.emplace_back("XSE0.QRLC", "splash picture");
  return pictures;
}

}  // namespace

// What the viewer makes of a value it cannot read as the setting's type ("" when it can).
std::string ValueProblem(const SettingKey& setting, std::string_view value) {
  if (value.empty()) return {};
  switch (setting.type) {
    case SettingType::Integer:
    case SettingType::Boolean:
      if (ParseInteger(value)) return {};
      return "is not a whole number; the viewer uses the default " +
             Quoted(setting.defaultValue);
    case SettingType::Color:
      if (ColorFromString(value)) return {};
      return "is neither a colour name nor a number; the viewer keeps the system's colour";
    case SettingType::String:
      break;
  }
  return {};
}

uint32_t LittleEndian(std::string_view bytes, size_t at, size_t width) {
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i)
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return value;
}

// What keeps a Windows bitmap from loading ("" when nothing): a header cut short, no pixels,
// or an uncompressed picture claiming more pixel rows than the file holds.
std::string BitmapProblem(std::string_view bytes) {
  if (bytes.size() < 26) return "its header is cut short";
  const uint64_t pixelsAt = LittleEndian(bytes, 10, 4);
  const uint32_t infoSize = LittleEndian(bytes, 14, 4);
  int64_t width = 0, height = 0;
  uint32_t bits = 0, compression = 0;
  if (infoSize == 12) {  // the old OS/2 header: 16-bit sizes
    width = LittleEndian(bytes, 18, 2);
    height = LittleEndian(bytes, 20, 2);
    bits = LittleEndian(bytes, 24, 2);
  } else {
    if (infoSize < 40 || bytes.size() < 34) return "its header is cut short";
    width = static_cast<int32_t>(LittleEndian(bytes, 18, 4));
    height = static_cast<int32_t>(LittleEndian(bytes, 22, 4));
    bits = LittleEndian(bytes, 28, 2);
    compression = LittleEndian(bytes, 30, 4);
  }
  if (width <= 0 || height == 0) return "it claims a picture of no pixels";
  if (compression != 0 && compression != 3) return {};  // run-length coded: no fixed size
  const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  const uint64_t needed = pixelsAt + rowBytes * static_cast<uint64_t>(height < 0 ? -height : height);
  if (needed > bytes.size())
    return "it claims " + std::to_string(width) + " x " + std::to_string(height < 0 ? -height : height) +
           " pixels (" + std::to_string(needed) + " bytes) but holds " + std::to_string(bytes.size());
  return {};
}

std::string FormatFinding(const Finding& finding) {
  return (finding.severity == Finding::Severity::Error ? "error: " : "warning: ") + finding.where +
         ": " + finding.what;
}

bool ViewerCannotServe(std::string_view name) {
  if (name.find("%20") != std::string_view::npos) return true;
  return std::any_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte >= 0x7F ||
           std::string_view("\"#<>?`{}\\").find(c) != std::string_view::npos;
  });
}

void BookChecker::Error(std::string where, std::string what) {
  findings_.push_back({Finding::Severity::Error, std::move(where), std::move(what)});
}
void BookChecker::Warning(std::string where, std::string what) {
  findings_.push_back({Finding::Severity::Warning, std::move(where), std::move(what)});
}

bool BookChecker::Stored(const std::string& name) const {
  return std::binary_search(sorted_.begin(), sorted_.end(), name);
}

const std::string& BookChecker::Content(const std::string& name) const {
  static const std::string kNone;
  const auto found = kept_.find(name);
  return found == kept_.end() ? kNone : found->second;
}

std::vector<Finding> BookChecker::Run() {
  ReadEntries();
  CheckSettings();
  CheckPictures();
  CheckStartAndContents();
  CheckLinks();
  CheckReach();
  return std::move(findings_);
}

// Inflates every entry once, as the viewer would on asking for it, and keeps what later
// checks read.
void BookChecker::ReadEntries() {
  std::set<std::string_view> seen;
  for (const IndexedEntry& entry : book_.index().entries()) {
    const std::string name(entry.name);
    if (!seen.insert(entry.name).second) {
      Warning(name, "stored twice; the viewer only ever reads the first");
      continue;
    }
    names_.push_back(name);
    if (!entry.intact) {
      Error(name, "damaged: the end marker that closes its data is missing");
      continue;
    }
    if (!IsInternal(name)) {
      if (name != UpperAscii(name))
        Error(name, "stored with lower-case letters, which the viewer never finds");
      else if (ViewerCannotServe(name))
        Error(name,
              "the viewer cannot serve this name: a browser percent-encodes or splits some "
              "character of it in an address; use letters, digits, space and - . _ ~");
    }
    try {
      std::string content = book_.ReadEntry(name);
      if (IsInternal(name) || IsHtml(name) || IsStyleSheet(name))
        kept_.emplace(name, std::move(content));
    } catch (const EZDecompressionError& error) {
      Error(name, std::string("cannot be inflated: ") + error.what());
    }
  }
  sorted_ = names_;
  std::sort(sorted_.begin(), sorted_.end());
}

void BookChecker::CheckSettings() {
  settingsText_ = Content(std::string(kSettingsEntry));
  const std::string_view text = settingsText_;
  if (text.find('\n') != std::string_view::npos && text.find("\r\n") == std::string_view::npos)
    Error("settings",
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
      Warning(where(line.lineNumber), line.section + "/" + line.key +
                                          " is not a setting the viewer reads (a misspelling?)");
    else if (!added)
      Warning(where(line.lineNumber), line.section + "/" + line.key +
                                          " is given again; the viewer reads the one on " +
                                          lineText(first->second));
    else if (const std::string problem = ValueProblem(*setting->second, line.value); !problem.empty())
      Warning(where(line.lineNumber), line.section + "/" + line.key + " " + Quoted(line.value) +
                                          " " + problem);
    if (key == "csettings/data" && added) dataLine = line.lineNumber;
  }

  const std::optional<std::string> data = ini.Value("cSettings", "DATA");
  if (!data)
    Error("settings",
          "no option string (cSettings/DATA): the book has no toolbar buttons and "
          "every other switch is off");
  else if (data->size() < opt::kRequiredLength)
    Error(where(dataLine), "the option string holds " + std::to_string(data->size()) +
                               " switches; the viewer reads " +
                               std::to_string(opt::kRequiredLength));
}

void BookChecker::CheckPictures() {
  for (const auto& [name, role] : PictureEntries()) {
    const std::string& bytes = Content(name);
    if (bytes.empty()) continue;
    if (bytes.compare(0, 2, "BM") != 0)
      Error(name, "the " + role + " is not a Windows bitmap (it does not begin with \"BM\")");
    else if (const std::string problem = BitmapProblem(bytes); !problem.empty())
      Error(name, "the " + role + " cannot be loaded: " + problem);
  }
  const OptionString options(IniText(settingsText_).ReadString("cSettings", "DATA", ""));
  if (options.is(opt::kLogo, '1') && Content("LOGO.QRLC").empty())
    Warning("LOGO.QRLC",
            "the option string asks for the book's own logo picture, but the book "
            "has none; the logo area stays empty");
  const std::string& marker = Content("XSEI.QRLC");
  if (!marker.empty() && marker.find_first_not_of("0123456789") != std::string::npos)
    Error("XSEI.QRLC", "the splash time " + Quoted(marker) +
                           " is not a whole number of seconds; the splash never closes");
}

void BookChecker::CheckStartAndContents() {
  const IniText ini(settingsText_);
  const OptionString options(ini.ReadString("cSettings", "DATA", ""));
  const bool byContents = options.is(opt::kContentsNavigation, '1');
  const bool useToc = ini.ReadBool("PFiles", "UseTOC", false);
  const std::string& stream = Content(std::string(kTocEntry));

  const std::string home = ini.ReadString("cSettings", "home", "");
  if (!byContents && home.empty())
    Error("settings", "no start page (cSettings/home); the viewer opens an empty page");
  if (!home.empty()) {
    const LinkTarget target = ResolveLink("", home);
    if (target.kind == LinkTargetKind::Entry && Stored(target.entry))
      roots_.push_back(target.entry);
    else if (!byContents)
      Error("settings", "the start page " + Quoted(home) + " names no entry");
  }

  if (stream.empty()) {
    if (byContents)
      Error("contents",
            "the book moves through its contents (option string offset 19), but "
            "has none; the viewer shows no page");
    return;
  }
  if (!useToc) {
    const std::string unused = "PFiles/UseTOC is off, so the viewer never loads the contents";
    if (byContents)
      Error("contents", unused);
    else
      Warning("contents", unused);
  }
  const TocTree tree = ReadTocStream(stream);
  if (tree.damaged)
    Error("contents", "the stored tree is damaged after node " + std::to_string(tree.nodes.size()));
  for (size_t i = 0; i < tree.nodes.size(); ++i) {
    const std::string page(TrimControl(TocPageName(tree.nodes[i].data)));
    if (page.empty()) continue;
    const std::string where =
        "contents node " + std::to_string(i + 1) + " " + Quoted(tree.nodes[i].caption);
    const LinkTarget target = ResolveLink("", page);
    if (target.kind != LinkTargetKind::Entry) continue;
    if (!Stored(target.entry))
      Error(where, "the page " + Quoted(page) + " names no entry (" + target.entry + ")");
    else if (useToc)
      roots_.push_back(target.entry);
  }
}

void BookChecker::CheckLinks() {
  for (const std::string& name : names_) {
    const bool html = IsHtml(name);
    if (!html && !IsStyleSheet(name)) continue;
    const std::string& text = Content(name);
    for (const PageLink& link : html ? HtmlLinks(text) : CssLinks(text)) {
      const LinkTarget target = ResolveLink(name, link.address);
      const std::string where = name + ", line " + std::to_string(link.line);
      if (target.kind == LinkTargetKind::AboveTop)
        Error(where,
              link.kind + " " + Quoted(link.address) + " climbs above the book's top folder");
      else if (target.kind == LinkTargetKind::Entry && !Stored(target.entry))
        Error(where,
              link.kind + " " + Quoted(link.address) + " names no entry (" + target.entry + ")");
      else if (target.kind == LinkTargetKind::Entry && html)
        pageLinks_.emplace_back(name, target.entry);
    }
  }
}

void BookChecker::CheckReach() {
  if (roots_.empty()) return;  // no way in at all is reported as such
  std::set<std::string> reached(roots_.begin(), roots_.end());
  std::vector<std::string> pending(roots_.begin(), roots_.end());
  std::multimap<std::string, std::string> links(pageLinks_.begin(), pageLinks_.end());
  while (!pending.empty()) {
    const std::string page = std::move(pending.back());
    pending.pop_back();
    const auto [begin, end] = links.equal_range(page);
    for (auto it = begin; it != end; ++it)
      if (reached.insert(it->second).second) pending.push_back(it->second);
  }
  for (const std::string& name : names_)
    if (IsSearchablePage(name) && !reached.count(name))
      Warning(name, "no contents node and no link reaches this page");
}

BookImage BookFromFolder(const BuildOptions& options) {
  std::vector<std::string> notes;  // the build's warnings; the checker makes its own findings
  return BookImage::FromBytes(EncodeArchive(CollectBookEntries(options, notes)));
}

}  // namespace ebook
