#include "platform/Shell.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <utility>

#include "archive/BookImage.h"
#include "text/Ascii.h"

extern char** environ;

namespace ebook {
namespace {

namespace fs = std::filesystem;

void OpenWithDesktop(const std::string& target) {
  // xdg-open takes a leading "-" for an option of its own.
  const std::string argument = target.front() == '-' ? "./" + target : target;
  SpawnDetached("xdg-open", {argument}, true);
}

ShellOpener& CurrentOpener() {
  static ShellOpener opener = OpenWithDesktop;
  return opener;
}

bool IsDigits(std::string_view text) {
  if (text.empty() || text.size() > 5) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// TMP<digits>-<digits>, as ExtractBookToTemp names its folders.
bool IsTempBookFolderName(std::string_view name) {
  if (name.substr(0, 3) != "TMP") return false;
  const size_t minus = name.find('-');
  return minus != std::string_view::npos && IsDigits(name.substr(3, minus - 3)) &&
         IsDigits(name.substr(minus + 1));
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

bool CopyOrMove(const std::string& op, const std::string& source, const std::string& destination) {
  if (destination.empty() || Exists(destination)) return false;
  std::error_code error;
  if (op == "COPY")
    fs::copy(source, destination, fs::copy_options::recursive | fs::copy_options::copy_symlinks,
             error);
  else
    fs::rename(source, destination, error);
  return !error;
}

// Restores what a child should start with: no blocked signals, and the default action for the
// signals the viewer catches or ignores.
struct SpawnAttributes {
  posix_spawnattr_t attr;
  SpawnAttributes() {
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE, SIGCHLD}) sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attr); }
};

}  // namespace

bool ShellFileOperation(std::string_view word, bool /*renameOnCollision*/, bool /*noConfirmation*/,
                        bool /*silent*/, bool /*simpleProgress*/, const std::string& source,
                        const std::string& destination) {
  try {
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(source, error))) return false;
    const std::string op = UpperAscii(word);
    if (op == "DELETE") {
      fs::remove_all(source, error);
      return !error;
    }
    if (op == "COPY" || op == "MOVE" || op == "RENAME") return CopyOrMove(op, source, destination);
    return false;
  } catch (...) {
    return false;
  }
}

bool DeleteTempFolder(const std::string& folder) {
  if (!IsTempBookFolderName(fs::path(folder).filename().string())) return false;
  return ShellFileOperation("DELETE", false, true, true, false, folder, "");
}

namespace {

std::vector<std::pair<std::string, std::optional<std::string>>>& ChildChanges() {
  static std::vector<std::pair<std::string, std::optional<std::string>>> changes;
  return changes;
}

}  // namespace

void SetChildEnvironment(std::vector<std::pair<std::string, std::optional<std::string>>> changes) {
  ChildChanges() = std::move(changes);
}

std::vector<std::string> ChildEnvironment() {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string_view pair(*entry);
    const std::string_view name = pair.substr(0, pair.find('='));
    bool changed = false;
    for (const auto& change : ChildChanges()) changed = changed || change.first == name;
    if (!changed) environment.emplace_back(pair);
  }
  for (const auto& [name, value] : ChildChanges())
    if (value) environment.push_back(name + "=" + *value);
  return environment;
}

void TakeRuntimeEnvironment() {
  if (!getenv("EBOOK_RUNTIME")) return;
  std::vector<std::pair<std::string, std::optional<std::string>>> changes;
  for (const char* variable : kRuntimeVariables) {
    const std::string saved = std::string("EBOOK_ORIGINAL_") + variable;
    const char* original = getenv(saved.c_str());
    changes.emplace_back(variable, original ? std::optional<std::string>(original) : std::nullopt);
    unsetenv(saved.c_str());
  }
  unsetenv("EBOOK_RUNTIME");
  SetChildEnvironment(std::move(changes));
}

ShellOpener SetShellOpener(ShellOpener opener) {
  if (!opener) opener = OpenWithDesktop;
  return std::exchange(CurrentOpener(), std::move(opener));
}

void ShellOpen(const std::string& target) {
  if (target.empty()) return;
  CurrentOpener()(target);
}

bool SpawnDetached(const std::string& program, const std::vector<std::string>& arguments,
                   bool searchPath) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  std::vector<std::string> environment = ChildEnvironment();
  std::vector<char*> envp;
  for (std::string& pair : environment) envp.push_back(pair.data());
  envp.push_back(nullptr);

  SpawnAttributes attributes;
  pid_t pid = 0;
  const int result =
      searchPath
          ? posix_spawnp(&pid, program.c_str(), nullptr, &attributes.attr, argv.data(), envp.data())
          : posix_spawn(&pid, program.c_str(), nullptr, &attributes.attr, argv.data(), envp.data());
  if (result != 0) return false;
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

char WindowsDriveLetter() { return '/'; }

std::string SystemDriveRoot() { return ""; }

std::string VolumeRootOf(const std::string& path) {
  std::error_code error;
  fs::path current = fs::weakly_canonical(fs::absolute(path, error), error);
  struct stat info {};
  if (error || stat(current.c_str(), &info) != 0) return "";
  const dev_t device = info.st_dev;
  // Climb while the parent lies on the same device; the last such folder is the mount point.
  while (current.has_relative_path()) {
    const fs::path parent = current.parent_path();
    if (stat(parent.c_str(), &info) != 0 || info.st_dev != device) break;
    current = parent;
  }
  const std::string root = current.string();
  return root == "/" ? "" : root;
}

}  // namespace ebook
