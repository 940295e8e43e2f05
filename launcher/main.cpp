// ebook-launch: the front of every book file. It runs before any Qt library is needed, so it
// can tell a reader what is missing when the viewer could not start, and it starts the viewer
// on the book file it is the front of.
//
// A book file is this program, then the viewer program (a plain book) or the packed runtime
// (a portable book), then the book's archive (see archive/ImageLayout.h). Linked only against
// what every Linux desktop has: the C and C++ run-time libraries, zlib and libzstd.

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "archive/ImageLayout.h"
#include "archive/RuntimeFrame.h"
#include "launcher/LibrarySearch.h"
#include "launcher/MissingRuntime.h"
#include "launcher/RuntimeCache.h"
#include "launcher/ViewerStart.h"

namespace {

constexpr int kCannotStart = 127;

// Tells a book file from other programs by content: an ELF note in the launcher's first
// segment, within the file's first kilobytes, which the shared MIME database's magic for
// application/x-quirel-ebook (packaging/quirel-ebook.xml) looks for.
struct BookNote {
  uint32_t nameSize, descriptionSize, type;
  char name[8];
  char description[24];
};
[[gnu::section(".note.quirel-ebook"), gnu::used, gnu::aligned(4)]]
const BookNote kBookNote = {7, 24, 1, "QUIREL", "QUIREL eBook book file"};

// The whole book file, mapped read-only for as long as the launcher runs.
std::string_view MapBook(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  struct stat info {};
  void* mapping = MAP_FAILED;
  if (fstat(fd, &info) == 0 && info.st_size > 0)
    mapping = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (mapping == MAP_FAILED) return {};
  return {static_cast<const char*>(mapping), static_cast<size_t>(info.st_size)};
}

int Fail(const std::string& book, const std::string& text) {
  std::cerr << book << ": " << text << '\n';
  ebook::ShowMessageWindow("QUIREL eBook", text);
  return kCannotStart;
}

int ReportMissing(const std::string& book, const std::vector<std::string>& missing) {
  return Fail(book, ebook::MissingRuntimeMessage(missing));
}

int RunPlainBook(std::string_view viewer, ebook::ViewerStart& start, const std::string& name) {
  const auto kind = ebook::ElfKindOf(viewer);
  if (!kind) return Fail(name, "The book file is damaged: its viewer program cannot be read.");
  ebook::LibrarySearch search(ebook::LibrarySearch::FromEnvironment(), *kind);
  // The viewer's own libraries are looked up first, which is quick; only when the loader then
  // still refuses the viewer are the libraries of those libraries followed.
  if (auto missing = search.Missing(viewer, false); !missing.empty())
    return ReportMissing(name, missing);
  int status = ebook::RunViewerImage(viewer, start);
  // Some systems refuse to run programs from memory files; a copy in the cache does instead.
  if (status < 0) {
    try {
      status = ebook::RunViewerFile(ebook::CachedViewerFile(viewer, ebook::RuntimeCacheFolder()), start);
    } catch (const std::exception& error) {
      return Fail(name, error.what());
    }
  }
  if (status < 0)
    return Fail(name, std::string("The viewer cannot be started: ") + strerror(errno) + ".");
  if (status == kCannotStart)
    if (auto missing = search.Missing(viewer, true); !missing.empty())
      return ReportMissing(name, missing);
  return status;
}

// A portable book: the viewer runs from the runtime unpacked into the cache, with the paths
// that make it use the runtime's libraries and plugins. The viewer hands the reader's own
// values (EBOOK_ORIGINAL_...) to whatever it starts, so nothing else runs on the runtime.
int RunPortableBook(const ebook::RuntimeFrame& frame, std::string_view launcher,
                    ebook::ViewerStart& start, const std::string& name) {
  const std::string cache = ebook::RuntimeCacheFolder();
  std::string runtime;
  try {
    runtime = ebook::EnsureRuntime(frame, cache);
  } catch (const std::exception& error) {
    return Fail(name, error.what());
  }
  ebook::RemoveOldRuntimes(cache, runtime);

  std::string libraries = runtime + "/lib";
  // Desktops often lack libOpenGL.so.0; the runtime's copy is used only then.
  ebook::LibrarySearch search(ebook::LibrarySearch::FromEnvironment(), *ebook::ElfKindOf(launcher));
  if (!search.Find("libOpenGL.so.0")) libraries += ":" + runtime + "/lib-fallback";
  const std::pair<const char*, std::string> paths[] = {
      {"LD_LIBRARY_PATH", libraries},
      {"QT_PLUGIN_PATH", runtime + "/plugins"},
      {"QTWEBENGINEPROCESS_PATH", runtime + "/libexec/QtWebEngineProcess"},
      {"QTWEBENGINE_RESOURCES_PATH", runtime + "/resources"},
      {"QTWEBENGINE_LOCALES_PATH", runtime + "/translations/qtwebengine_locales"},
  };
  for (const auto& [variable, value] : paths) {
    if (const char* original = getenv(variable))
      start.environment.push_back(std::string("EBOOK_ORIGINAL_") + variable + "=" + original);
    start.environment.push_back(std::string(variable) + "=" + value);
  }
  start.environment.push_back("EBOOK_RUNTIME=" + runtime);
  const int status = ebook::RunViewerFile(runtime + "/ebook", start);
  if (status < 0)
    return Fail(name, std::string("The viewer cannot be started: ") + strerror(errno) + ".");
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::error_code error;
  const std::string book = std::filesystem::read_symlink("/proc/self/exe", error).string();
  const std::string name = argc > 0 ? argv[0] : "ebook";
  if (error) return Fail(name, "The book file cannot be found: " + error.message() + ".");
  const std::string_view image = MapBook(book);
  const auto launcher = ebook::ProgramImageSize(image);
  if (!launcher) return Fail(name, "The book file " + book + " cannot be read.");

  ebook::ViewerStart start;
  start.arguments.assign(argv, argv + argc);
  start.bookFile = book;
  const std::string_view rest = image.substr(*launcher);
  if (const auto viewer = ebook::ProgramImageSize(rest); viewer && *viewer > 0)
    return RunPlainBook(rest.substr(0, *viewer), start, name);
  if (const auto frame = ebook::ReadRuntimeFrame(rest))
    return RunPortableBook(*frame, image.substr(0, *launcher), start, name);
  return Fail(name, "The book file " + book + " is damaged: it holds no viewer program.");
}
