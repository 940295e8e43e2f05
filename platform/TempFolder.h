#pragma once
// Temp-folder delivery: the book's files extracted as plain files into a fresh folder under the
// user's temporary folder, for a browser that opens them from disk.
//
// The folder is <temporary folder>/TMP<a>-<b>, with a in 0..29999 and b in 0..19999 drawn from a
// clock-seeded generator, for example /tmp/TMP4711-815. Every book file lies in it under its
// entry name, each folder level of the name a sub-folder: PICS/SUB/B.GIF becomes
// /tmp/TMP4711-815/PICS/SUB/B.GIF. Internal entries (names ending in ".QRLC") are not extracted.
//
// On Linux "/" separates folders both in entry names and on disk, so the entry name is used as
// it is; the Windows build turns each "/" into "\" for the disk and back for the base address.
// A "\" inside an entry name is taken as a separator too, as it would be on Windows, so a name
// means the same file on both systems.
//
// Nothing is ever written outside the folder: a name that is absolute, holds a ".." level, a
// drive or stream colon (":"), a NUL byte, or is empty is skipped, and the rest of the book is
// extracted.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ebook {

class BookContent;

// Called before each book file is extracted with the files done and the book files in all; it
// may throw to stop the extraction (the exception leaves ExtractBookToTemp as it is).
using ExtractionProgress = std::function<void(size_t done, size_t total)>;

// An entry the file system would not take under its name, and why.
struct SkippedEntry {
  std::string name;
  std::string reason;
};

// Creates a fresh TempBookFolder and extracts every book file of `book` into it, in archive
// order. `folder` receives the folder's path with a trailing "/" as soon as the folder exists,
// so that a caller that catches an error can still delete it; that same text is BookBaseUrl.
// The folder stays locked (flock) by this process for as long as it runs, so that a later
// start can tell it from a folder an ended run left behind.
//
// An entry whose name the file system cannot create (a file where a folder level of another
// name must be, a name ending in a separator, ".", a level over 255 bytes, a name too long for
// the system) is skipped and returned; the rest of the book is extracted. Throws
// EZDecompressionError for an entry that cannot be inflated and std::system_error when the
// folder cannot be created or a file cannot be written (a full disk); what was written so far
// stays.
std::vector<SkippedEntry> ExtractBookToTemp(const BookContent& book, std::string& folder,
                                            const ExtractionProgress& progress = {});

// Removes the folders in the user's temporary folder that runs of the viewer ended without
// deleting (killed, or crashed): TMP<a>-<b> folders that belong to this user, have not changed
// for `minimumAge` and are locked by no running viewer. Returns the folders removed. Folders
// of other users, symbolic links and anything else are never touched.
std::vector<std::string> RemoveAbandonedTempFolders(
    std::chrono::seconds minimumAge = std::chrono::seconds(60));

// Reads the entry from `book` and writes it to `path`, replacing any file there. An empty or
// missing entry writes no file. Throws as ExtractBookToTemp does.
void ExtractEntry(const BookContent& book, std::string_view name, const std::string& path);

// Creates the folder levels of the entry name (everything before its last separator) under
// `base`, one level at a time. Errors are ignored: a file write into a missing folder reports
// them. Does nothing for a name that would leave `base`.
void ForceEntryFolders(std::string_view name, const std::string& base);

// Clears `list`, then adds the pieces of `text` between occurrences of `delimiter` from left to
// right: a piece before a delimiter when it is not empty, or always when `keepEmpty` is set; the
// remainder after the last delimiter only when it is not empty.
void SplitString(std::string_view text, std::string_view delimiter, std::vector<std::string>& list,
                 bool keepEmpty);

// True when the entry name stays inside the folder it is extracted into (see above).
bool IsSafeEntryName(std::string_view name);

// The user's temporary folder as the platform reports it, with a trailing "/": $TMPDIR when it
// is set and not empty, else /tmp.
std::string UserTempFolder();

// The folder to delete at exit for a BookBaseUrl left by ExtractBookToTemp: the same path
// without its trailing separator.
std::string TempFolderFromBaseUrl(std::string_view bookBaseUrl);

}  // namespace ebook
