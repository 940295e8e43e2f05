#pragma once
// A portable book's runtime, unpacked once into the user's cache and shared by every book that
// carries the same runtime:
//   $XDG_CACHE_HOME/quirel-ebook/runtime-ID/      (~/.cache when XDG_CACHE_HOME is unset)
// ID is the runtime's hash (archive/RuntimeFrame.h). A runtime is unpacked into
// a temporary folder beside that one and renamed into place only when it is complete and
// checked, so that two books started at once, a full disk or a kill midway never leave a
// half-written runtime under the final name; whichever book renames first wins and the other
// uses its runtime. A runtime already in place is checked against its MANIFEST (the CRC-32 the
// frame names, then the size of every file it lists) and unpacked again when the check fails.
// Each start marks the runtime's folder as used (its modification time); runtimes no book
// has used for 90 days are removed. Nothing is written outside the cache folder.

#include <chrono>
#include <string>
#include <string_view>

#include "archive/RuntimeFrame.h"

namespace ebook {

// The cache folder for runtimes: $XDG_CACHE_HOME/quirel-ebook, else ~/.cache/quirel-ebook.
std::string RuntimeCacheFolder();

// True when `folder` holds a whole runtime: a MANIFEST whose CRC-32 (lower-case hex) is
// `manifestCheck` and every file it lists with its listed size.
bool RuntimeIsWhole(const std::string& folder, std::string_view manifestCheck);

// The folder of the frame's runtime under `cache`, unpacked there first when it is not (or not
// wholly) there. Throws std::runtime_error with a sentence for the reader.
std::string EnsureRuntime(const RuntimeFrame& frame, const std::string& cache);

// A file under `cache` holding the viewer program `image` (viewer-CRC-SIZE, written once,
// renamed into place when complete), for systems that refuse to run a program from an
// anonymous memory file. Throws std::runtime_error with a sentence for the reader.
std::string CachedViewerFile(std::string_view image, const std::string& cache);

// Removes the runtimes under `cache` other than `keep` that have not been used for `age`, and
// temporary folders of unpacking that was cut short a day or more ago.
void RemoveOldRuntimes(const std::string& cache, const std::string& keep,
                       std::chrono::hours age = std::chrono::hours(24 * 90));

}  // namespace ebook
