#pragma once
// The few desktop-shell and system operations the viewer needs, in their Linux form:
//   - folder operations (only the recursive deletion of the temporary folder is used),
//   - opening a path, program or web address with the desktop's default application,
//   - the volume roots that the "$WIN$" and "$DRV$" placeholders of link commands stand for,
//   - starting a program detached from the viewer.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ebook {

// One folder operation. `word` (any letter case): "DELETE" removes the source folder with
// everything in it, for good; "MOVE" and "RENAME" rename it to `destination`; "COPY" copies it
// there recursively. Returns false, doing nothing, when the source is not an existing folder (a
// file, a missing path, or a symbolic link), for an unknown word, and when a copy or move would
// overwrite an existing destination. Deletion never follows a symbolic link out of the folder:
// the link itself is removed. The confirmation, silence and progress flags select dialogs the
// Linux desktop does not have; they are accepted and change nothing. Paths of any length work.
bool ShellFileOperation(std::string_view word, bool renameOnCollision, bool noConfirmation,
                        bool silent, bool simpleProgress, const std::string& source,
                        const std::string& destination);

// Deletes the temporary book folder (path without trailing separator) with all it holds.
// Refuses (false) any folder whose name is not of the form TMP<digits>-<digits>, so that a wrong
// path can never wipe anything else.
bool DeleteTempFolder(const std::string& folder);

// Receives every target of ShellOpen. The default starts the desktop's opener.
using ShellOpener = std::function<void(const std::string& target)>;
// Installs `opener` (an empty function restores the default) and returns the one it replaces,
// so tests can watch what would be opened and put the previous one back.
ShellOpener SetShellOpener(ShellOpener opener);

// Opens a path, program or web address with the desktop's default application (xdg-open),
// started detached from the viewer; no shell parses the target. Does nothing for an empty
// target. Whether the opening works is not reported, as a desktop would show its own error.
void ShellOpen(const std::string& target);

// Programs this process starts get its environment, but for the variables named here: each
// takes the value given (nullopt: left out). See TakeRuntimeEnvironment.
void SetChildEnvironment(std::vector<std::pair<std::string, std::optional<std::string>>> changes);
// The environment a started program gets, as NAME=value strings.
std::vector<std::string> ChildEnvironment();

// The variables a portable book's launcher sets so that the viewer runs on the runtime it
// carries (library, plugin and WebEngine paths). The launcher names the runtime in
// EBOOK_RUNTIME and keeps the reader's own values as EBOOK_ORIGINAL_<name>.
inline constexpr const char* kRuntimeVariables[] = {
    "LD_LIBRARY_PATH", "QT_PLUGIN_PATH", "QTWEBENGINEPROCESS_PATH", "QTWEBENGINE_RESOURCES_PATH",
    "QTWEBENGINE_LOCALES_PATH"};
// In a viewer started from a runtime: takes EBOOK_RUNTIME and the EBOOK_ORIGINAL_ values out
// of the environment and gives every program it starts (xdg-open, a relaunched book) the
// reader's own values of the runtime's variables. The viewer itself keeps the runtime's, which
// its browser processes need. Does nothing elsewhere.
void TakeRuntimeEnvironment();

// Starts `program` with `arguments` (argv[1..]) in a session of its own, without a shell and
// without waiting for it; with `searchPath` a bare name is looked up in $PATH. The child is
// reaped in the background, so nothing is left behind as a zombie. False when it cannot start.
bool SpawnDetached(const std::string& program, const std::vector<std::string>& arguments,
                   bool searchPath);

// Linux has no drive letters. The system drive corresponds to the root volume, mounted at "/":
// WindowsDriveLetter() returns '/', and the text a "$WIN$" placeholder stands for is
// SystemDriveRoot() (not the letter and ":"). Windows returns the first character of the Windows
// folder, 'C' when the system reports none.
char WindowsDriveLetter();

// The text "$WIN$" is replaced by: the root of the volume that holds the operating system,
// without its trailing separator. "" on Linux, so "$WIN$/usr/share/doc" becomes /usr/share/doc
// ("C:" on Windows).
std::string SystemDriveRoot();

// The text "$DRV$" is replaced by: the mount point of the volume that holds `path` (the book
// file), without its trailing separator: "" for a book on the root volume, "/media/usb" for a
// book on a stick mounted there. "" when the path cannot be examined.
std::string VolumeRootOf(const std::string& path);

}  // namespace ebook
