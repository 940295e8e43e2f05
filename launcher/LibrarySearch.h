#pragma once
// What the dynamic loader would find for a program, found without starting it: the launcher
// asks this before it starts the viewer, so that a missing library becomes a message a reader
// can act on instead of the loader's one line on a terminal nobody sees.
//
// The search follows the loader's order for a program without RPATH or RUNPATH:
// LD_LIBRARY_PATH, then the cache that ldconfig writes (/etc/ld.so.cache), then the default
// folders. A candidate counts only when it is an ELF file of the program's class and machine.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ebook {

struct ElfKind {
  uint8_t elfClass = 0;  // 1: 32-bit, 2: 64-bit
  uint16_t machine = 0;  // e_machine
  bool operator==(const ElfKind&) const = default;
};

// The class and machine of the ELF file `image` begins with; nullopt when it is not one.
std::optional<ElfKind> ElfKindOf(std::string_view image);

// The DT_NEEDED names of the ELF program or library `image` holds, in order; empty for
// anything else. Every offset is checked against the image.
std::vector<std::string> NeededLibraries(std::string_view image);

// The soname -> path map of an ld.so.cache file's bytes ("glibc-ld.so.cache1.1" format, on its
// own or after the old format's entries). Empty when the bytes hold no such cache.
std::multimap<std::string, std::string> ReadLoaderCache(std::string_view cache);

class LibrarySearch {
 public:
  struct Folders {
    std::vector<std::string> libraryPath;  // from LD_LIBRARY_PATH, in order
    std::string cacheFile = "/etc/ld.so.cache";
    std::vector<std::string> defaults = {"/lib/x86_64-linux-gnu", "/usr/lib/x86_64-linux-gnu",
                                         "/lib64", "/usr/lib64", "/lib", "/usr/lib"};
  };
  // The folders of this process: LD_LIBRARY_PATH from the environment.
  static Folders FromEnvironment();

  LibrarySearch(Folders folders, ElfKind kind);

  // The file the loader would load for `soname`, or nullopt.
  std::optional<std::string> Find(const std::string& soname);

  // The names among `program`'s needed libraries that cannot be found. With `transitive`, the
  // libraries of the found libraries are followed too (each examined once).
  std::vector<std::string> Missing(std::string_view program, bool transitive);

 private:
  bool Usable(const std::string& path) const;

  Folders folders_;
  ElfKind kind_;
  std::multimap<std::string, std::string> cache_;
  bool cacheRead_ = false;
};

}  // namespace ebook
