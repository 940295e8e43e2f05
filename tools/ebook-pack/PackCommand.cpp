#include "PackCommand.h"

#include <filesystem>
#include <map>
#include <ostream>
#include <system_error>

#include "AutoToc.h"
#include "BookBuilder.h"
#include "BookChecker.h"
#include "BookExtractor.h"
#include "BookListing.h"
#include "PackError.h"
#include "Progress.h"
#include "SettingsMaker.h"
#include "archive/BookImage.h"
#include "archive/ZLib.h"
#include "contents/TocText.h"
#include "SearchCommand.h"
#include "text/BookText.h"

namespace ebook {
namespace {

constexpr std::string_view kProgram = "ebook-pack";
// The extension the desktop entry's MIME type claims for book files.
constexpr std::string_view kBookExtension = ".ebook";

// A command line that does not fit the command's form.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

const std::map<std::string, std::string>& CommandUsages() {
  static const std::map<std::string, std::string> usages = {
      {"build",
       "  ebook-pack build SOURCE_DIR -o BOOK [--settings INI|none] [--toc TOC.txt|auto|none]\n"
       "             [--title TEXT] [--start PAGE] [--set SECTION.KEY=VALUE]...\n"
       "             [--splash BMP --splash-seconds N] [--logo BMP] [--buttons DIR]\n"
       "             [--viewer PATH | --portable] [--level 0-9] [--follow-links] [--quiet]\n"
       "      A book is one file: the viewer with the book's archive. --portable adds the\n"
       "      viewer's runtime (Qt WebEngine and the libraries a desktop lacks), so that the book\n"
       "      runs where Qt WebEngine is not installed; --viewer names the one program to put\n"
       "      before the archive.\n"
       "      Without --settings the book gets settings made for it: the whole toolbar, the\n"
       "      start page (index.html, ...) and its title, bookmarks, a sizeable window.\n"
       "      Without --toc a folder of several pages gets contents made from its pages.\n"
       "      Files that are links to outside the folder are refused unless --follow-links\n"
       "      (links to the system's shared files under /usr/share are packed with a warning).\n"},
      {"check",
       "  ebook-pack check BOOK [--format=text|json] [--quiet]\n"
       "  ebook-pack check SOURCE_DIR [build's options but -o] [--format=text|json] [--quiet]\n"
       "      what would make the book misbehave; exit 1 on errors\n"},
      {"toc",
       "  ebook-pack toc BOOK           the contents in the text form build reads\n"
       "  ebook-pack toc --from SOURCE_DIR [--start PAGE]\n"
       "                                the contents build would make for the folder\n"},
      {"extract",
       "  ebook-pack extract BOOK FOLDER\n"
       "      the book's files, settings, contents and pictures as build reads them, and the\n"
       "      build command that makes the same book from them\n"},
      {"list", "  ebook-pack list BOOK          entry names in archive order\n"},
      {"cat", "  ebook-pack cat BOOK NAME      an entry's content\n"},
      {"settings", "  ebook-pack settings BOOK      the settings the viewer reads\n"},
      {"search",
       "  ebook-pack search BOOK QUERY  pages holding QUERY: name<TAB>title, then the count\n"},
  };
  return usages;
}

bool WantsHelp(const std::vector<std::string>& args) {
  for (size_t i = 1; i < args.size(); ++i)
    if (args[i] == "--help" || args[i] == "-h") return true;
  return false;
}

int ParseLevel(const std::string& value) {
  if (value.size() != 1 || value[0] < '0' || value[0] > '9')
    throw UsageError("--level takes a compression level from 0 to 9, not " + value);
  return value[0] - '0';
}

SettingChange ParseChange(const std::string& value) {
  const size_t dot = value.find('.');
  const size_t equals = value.find('=');
  if (dot == std::string::npos || equals == std::string::npos || dot == 0 || equals < dot + 2)
    throw UsageError("--set takes SECTION.KEY=VALUE, not " + value);
  return {value.substr(0, dot), value.substr(dot + 1, equals - dot - 1), value.substr(equals + 1)};
}

struct CommandOptions {
  BuildOptions build;
  bool quiet = false;
  bool json = false;
  bool from = false;  // toc --from
};

// The arguments of build, of check (which writes nothing: no -o) and of toc --from.
CommandOptions ParseBuildArguments(const std::vector<std::string>& args) {
  const std::string& command = args[0];
  CommandOptions parsed;
  BuildOptions& options = parsed.build;
  bool haveSource = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--portable" && command == "build") {
      options.portable = true;
      continue;
    }
    if (arg.empty() || arg[0] != '-') {
      if (haveSource) throw UsageError("more than one source folder: " + arg);
      options.source = arg;
      haveSource = true;
      continue;
    }
    if (arg == "--follow-links")
      options.followLinks = true;
    else if (arg == "--quiet" || arg == "-q")
      parsed.quiet = true;
    else if (arg == "--format=json" && command == "check")
      parsed.json = true;
    else if (arg == "--format=text" && command == "check")
      parsed.json = false;
    else if (arg == "--from" && command == "toc")
      parsed.from = true;
    else {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "-o" && command == "build")
        options.output = value;
      else if (arg == "--format" && command == "check") {
        if (value != "json" && value != "text") throw UsageError("--format is text or json");
        parsed.json = value == "json";
      } else if (arg == "--start")
        options.start = value;
      else if (command == "toc")
        throw UsageError("toc --from takes only --start");
      else if (arg == "--settings")
        options.settings = value;
      else if (arg == "--toc")
        options.toc = value;
      else if (arg == "--title")
        options.title = value;
      else if (arg == "--set")
        options.changes.push_back(ParseChange(value));
      else if (arg == "--level")
        options.level = ParseLevel(value);
      else if (arg == "--splash")
        options.splash = value;
      else if (arg == "--splash-seconds")
        options.splashSeconds = value;
      else if (arg == "--logo")
        options.logo = value;
      else if (arg == "--buttons")
        options.buttons = value;
      else if (arg == "--viewer")
        options.viewer = value;
      else
        throw UsageError("unknown option " + arg);
    }
  }
  if (!haveSource)
    throw UsageError(command + " needs a " +
                     (command == "check" ? "book or a source folder" : "source folder"));
  if (options.output.empty() && command == "build") throw UsageError("build needs -o BOOK");
  return parsed;
}

int Build(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
          std::ostream* terminal) {
  CommandOptions parsed = ParseBuildArguments(args);
  if (!parsed.quiet) parsed.build.progress = terminal;
  const BuildOptions& options = parsed.build;
  const BuildResult result = BuildBook(options);
  for (const std::string& warning : result.warnings)
    err << kProgram << ": warning: " << warning << '\n';
  out << options.output.string() << ": " << result.entries << " entries, " << result.bytes
      << " bytes" << (options.portable ? ", portable" : "");
  if (options.settings.empty())
    out << "; start page " << (result.startPage.empty() ? "none" : result.startPage);
  if (!result.contents.empty() && result.contents.rfind("contents file", 0) != 0)
    out << "; " << result.contentsNodes << " contents nodes from " << result.contents;
  out << '\n';
  if (options.output.extension() != kBookExtension)
    out << "(named " << options.output.stem().string() << kBookExtension
        << ", the book opens in the installed viewer from a file manager even without its "
           "execute bit)\n";
  return kExitOk;
}

// The commands that read a book: BOOK, then `extra` more arguments.
int Inspect(const std::vector<std::string>& args, size_t extra, std::ostream& out,
            std::ostream& err) {
  const std::string& command = args[0];
  if (args.size() != 2 + extra)
    throw UsageError(command + " takes " + (extra ? "BOOK NAME" : "BOOK"));
  const BookImage book = BookImage::FromFile(args[1]);
  if (command == "list") ListEntries(book, out);
  if (command == "settings") PrintSettings(book, out);
  if (command == "cat") {
    try {
      CatEntry(book, args[2], out);
    } catch (const EZDecompressionError& error) {
      err << kProgram << ": " << args[2] << " in " << args[1] << ": " << error.what() << '\n';
      return kExitFailed;
    }
  }
  if (command == "toc") {
    if (const std::string problem = PrintToc(book, out); !problem.empty()) {
      err << kProgram << ": the contents of " << args[1] << " " << problem << '\n';
      return kExitFailed;
    }
  }
  return kExitOk;
}

// toc --from FOLDER: the contents a build would make, captions as the viewer shows them.
int TocFromFolder(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const CommandOptions parsed = ParseBuildArguments(args);
  std::vector<std::string> warnings;
  const SourceFiles source = ReadSourceFolder(parsed.build.source, {}, warnings);
  const std::string start = parsed.build.start.value_or(DefaultStartPage(source.files));
  DerivedContents contents = DeriveContents(source.files, start);
  if (contents.tree.nodes.empty()) {
    err << kProgram << ": " << parsed.build.source.string()
        << " has no pages to make contents of\n";
    return kExitFailed;
  }
  for (TocNode& node : contents.tree.nodes) node.caption = DecodeBookText(node.caption);
  out << FormatTocText(contents.tree);
  if (!parsed.quiet)
    err << kProgram << ": " << contents.tree.nodes.size() << " nodes from " << contents.source
        << '\n';
  return kExitOk;
}

// A built book is checked as it is; a source folder as the build with the same options would
// store it.
int Check(const std::vector<std::string>& args, std::ostream& out, std::ostream* terminal) {
  const CommandOptions parsed = ParseBuildArguments(args);
  const BuildOptions& options = parsed.build;
  std::error_code error;
  const bool folder = std::filesystem::is_directory(options.source, error);
  size_t settingsArguments = 0;
  for (size_t i = 1; i < args.size(); ++i)
    if (args[i] != options.source.string() && args[i].rfind("--format", 0) != 0 &&
        args[i] != "--quiet" && args[i] != "-q" && args[i - 1] != "--format")
      ++settingsArguments;
  if (!folder && settingsArguments)
    throw UsageError("check takes build's options only with a source folder");
  FolderBook checked;
  if (folder) {
    BuildOptions reading = options;
    if (!parsed.quiet) reading.progress = terminal;
    checked = BookFromFolder(reading);
  } else {
    // Mapped, not copied: books are replaced by renaming a new file over them, so the bytes
    // cannot change under the check.
    checked.book = BookImage::FromRunningProgram(options.source.string());
  }
  if (checked.book.index().entries().empty())
    throw PackError(options.source.string() + " holds no book: nothing follows the program");
  std::vector<Finding> findings = std::move(checked.findings);
  {
    uintmax_t archive = checked.book.bytes().size() - checked.book.archiveStart();
    Progress progress(parsed.quiet ? nullptr : terminal, "checking",
                      checked.book.index().entries().size(), archive);
    for (Finding& finding : BookChecker(checked.book, &progress).Run())
      findings.push_back(std::move(finding));
  }
  size_t errors = 0;
  for (const Finding& finding : findings) errors += finding.severity == Finding::Severity::Error;
  if (parsed.json) {
    out << FindingsJson(options.source.string(), findings);
  } else {
    for (const Finding& finding : findings) out << FormatFinding(finding) << '\n';
    out << FormatSummary(options.source.string(), findings) << '\n';
  }
  return errors ? kExitFailed : kExitOk;
}

int Extract(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 3) throw UsageError("extract takes BOOK FOLDER");
  const BookImage book = BookImage::FromFile(args[1]);
  if (book.index().entries().empty())
    throw PackError(args[1] + " holds no book: nothing follows the program");
  const ExtractResult result = ExtractBook(book, args[1], args[2]);
  for (const std::string& warning : result.warnings)
    err << kProgram << ": warning: " << warning << '\n';
  out << args[2] << ": " << result.files << " book files; build the same book with:\n"
      << result.buildCommand << '\n';
  return kExitOk;
}

}  // namespace

std::string PackVersion() {
  return std::string(kProgram) + " (QUIREL eBook) " + EBOOK_PACK_VERSION;
}

std::string PackUsage(const std::string& command) {
  const auto& usages = CommandUsages();
  if (const auto found = usages.find(command); found != usages.end())
    return "usage:\n" + found->second;
  std::string text = "usage:\n";
  for (const char* name : {"build", "check", "toc", "extract", "list", "cat", "settings", "search"})
    text += usages.at(name);
  text += "  ebook-pack --version | --help | COMMAND --help\n";
  return text;
}

int RunPackCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   std::ostream* terminal) {
  const std::string command = args.empty() ? std::string() : args[0];
  if (command == "help" || command == "--help" || command == "-h") {
    out << PackUsage(args.size() > 1 ? args[1] : std::string());
    return kExitOk;
  }
  if (command == "--version" || command == "version") {
    out << PackVersion() << '\n';
    return kExitOk;
  }
  try {
    if (CommandUsages().count(command)) {
      if (WantsHelp(args)) {
        out << PackUsage(command);
        return kExitOk;
      }
      for (size_t i = 1; i < args.size(); ++i)
        if (args[i] == "--version") {
          out << PackVersion() << '\n';
          return kExitOk;
        }
    }
    if (command == "build") return Build(args, out, err, terminal);
    if (command == "check") return Check(args, out, terminal);
    if (command == "extract") return Extract(args, out, err);
    if (command == "toc" && args.size() > 1 &&
        std::find(args.begin(), args.end(), "--from") != args.end())
      return TocFromFolder(args, out, err);
    if (command == "list" || command == "settings" || command == "toc")
      return Inspect(args, 0, out, err);
    if (command == "cat") return Inspect(args, 1, out, err);
    if (command == "search") {
      if (args.size() != 3) throw UsageError("search takes BOOK QUERY");
      return RunSearchCommand(args[1], args[2], out, err);
    }
    throw UsageError(command.empty() ? "no command given" : "unknown command " + command);
  } catch (const UsageError& error) {
    err << kProgram << ": " << error.what() << '\n' << PackUsage(command);
    return kExitUsage;
  } catch (const std::exception& error) {
    // PackError, the book file's system_error and a damaged entry all name what failed.
    err << kProgram << ": " << error.what() << '\n';
    return kExitFailed;
  }
}

}  // namespace ebook
