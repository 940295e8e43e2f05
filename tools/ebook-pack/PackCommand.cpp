#include "PackCommand.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "BookBuilder.h"
#include "BookChecker.h"
#include "BookListing.h"
#include "PackError.h"
#include "archive/BookImage.h"
#include "archive/ZLib.h"
#include "search/SearchCommand.h"

namespace ebook {
namespace {

constexpr std::string_view kProgram = "ebook-pack";
// The extension the desktop entry's MIME type claims for book files.
constexpr std::string_view kBookExtension = ".ebook";
constexpr std::string_view kVersion = EBOOK_VERSION;

// A command line that does not fit the command's form.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The arguments of build, and of check on a source folder (which writes nothing: no -o).
BuildOptions ParseBuildArguments(const std::vector<std::string>& args) {
  const std::string& command = args[0];
  BuildOptions options;
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
    if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
    const std::string& value = args[++i];
    if (arg == "-o" && command == "build") options.output = value;
    else if (arg == "--settings") options.settings = value;
    else if (arg == "--toc") options.toc = value;
    else if (arg == "--splash") options.splash = value;
    else if (arg == "--splash-seconds") options.splashSeconds = value;
    else if (arg == "--logo") options.logo = value;
    else if (arg == "--buttons") options.buttons = value;
    else if (arg == "--viewer") options.viewer = value;
    else throw UsageError("unknown option " + arg);
  }
  if (!haveSource)
    throw UsageError(command + " needs a " +
                     (command == "build" ? "source folder" : "book or a source folder"));
  if (options.output.empty() && command == "build") throw UsageError("build needs -o BOOK");
  return options;
}

int Build(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const BuildOptions options = ParseBuildArguments(args);
  const BuildResult result = BuildBook(options);
  for (const std::string& warning : result.warnings)
    err << kProgram << ": warning: " << warning << '\n';
  out << options.output.string() << ": " << result.entries << " entries, " << result.bytes
      << " bytes" << (options.portable ? ", portable" : "") << "\n";
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
  if (args.size() != 2 + extra) throw UsageError(command + " takes " + (extra ? "BOOK NAME" : "BOOK"));
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

// A built book is checked as it is; a source folder as the build with the same options would
// store it.
int Check(const std::vector<std::string>& args, std::ostream& out) {
  const BuildOptions options = ParseBuildArguments(args);
  std::error_code error;
  const bool folder = std::filesystem::is_directory(options.source, error);
  if (!folder && args.size() != 2)
    throw UsageError("check takes options only with a source folder");
  const BookImage book =
      folder ? BookFromFolder(options) : BookImage::FromFile(options.source.string());
  if (book.index().entries().empty())
    throw PackError(options.source.string() + " holds no book: nothing follows the program");
  size_t errors = 0, warnings = 0;
  for (const Finding& finding : BookChecker(book).Run()) {
    out << FormatFinding(finding) << '\n';
    ++(finding.severity == Finding::Severity::Error ? errors : warnings);
  }
  out << options.source.string() << ": " << errors << (errors == 1 ? " error, " : " errors, ")
      << warnings << (warnings == 1 ? " warning\n" : " warnings\n");
  return errors ? kExitFailed : kExitOk;
}

}  // namespace

std::string PackUsage() {
  return "usage:\n"
         "  ebook-pack build SOURCE_DIR -o BOOK [--settings INI] [--toc TOC.txt]\n"
         "             [--splash BMP --splash-seconds N] [--logo BMP] [--buttons DIR]\n"
         "             [--viewer PATH | --portable]\n"
         "  ebook-pack list BOOK          entry names in archive order\n"
         "  ebook-pack cat BOOK NAME      an entry's content\n"
         "  ebook-pack settings BOOK      the settings the viewer reads\n"
         "  ebook-pack toc BOOK           the contents in the text form build reads\n"
         "  ebook-pack search BOOK QUERY  pages holding QUERY: name<TAB>title, then the count\n"
         "  ebook-pack check BOOK         what would make the book misbehave; exit 1 on errors\n"
         "  ebook-pack check SOURCE_DIR [build's options but -o]\n"
         "                                the same for a folder, read as build would store it\n"
         "  ebook-pack --version\n"
         "\n"
         "A book is one file: the viewer with the book's archive. --portable adds the viewer's\n"
         "runtime (Qt WebEngine and the libraries a desktop lacks), so that the book runs where\n"
         "Qt WebEngine is not installed; --viewer names the one program to put before the archive.\n";
}

int RunPackCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string command = args.empty() ? std::string() : args[0];
  if (command == "help" || command == "--help" || command == "-h") {
    out << PackUsage();
    return kExitOk;
  }
  if (command == "--version") {
    out << "ebook-pack (QUIREL eBook) " << kVersion << '\n';
    return kExitOk;
  }
  try {
    if (command == "build") return Build(args, out, err);
    if (command == "check") return Check(args, out);
    if (command == "list" || command == "settings" || command == "toc") return Inspect(args, 0, out, err);
    if (command == "cat") return Inspect(args, 1, out, err);
    if (command == "search") {
      if (args.size() != 3) throw UsageError("search takes BOOK QUERY");
      return RunSearchCommand(args[1], args[2], out, err);
    }
    throw UsageError(command.empty() ? "no command given" : "unknown command " + command);
  } catch (const UsageError& error) {
    err << kProgram << ": " << error.what() << '\n' << PackUsage();
    return kExitUsage;
  } catch (const std::exception& error) {
    // PackError, the book file's system_error and a damaged entry all name what failed.
    err << kProgram << ": " << error.what() << '\n';
    return kExitFailed;
  }
}

}  // namespace ebook
