#include "launcher/MissingRuntime.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <set>

extern char** environ;

namespace ebook {
namespace {

bool IsWebEngine(std::string_view soname) { return soname.starts_with("libQt6WebEngine"); }

std::string ProgramInPath(const std::string& name) {
  const char* path = getenv("PATH");
  std::string_view rest = path ? path : "/usr/bin:/bin";
  while (!rest.empty()) {
    const size_t end = std::min(rest.find(':'), rest.size());
    const std::string candidate = std::string(rest.substr(0, end)) + "/" + name;
    if (end > 0 && access(candidate.c_str(), X_OK) == 0) return candidate;
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return {};
}

// Runs `arguments` and waits for it; false when it cannot start or fails.
bool RunAndWait(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

std::string DebianPackageOf(std::string_view soname) {
  if (soname == "libz.so.1") return "zlib1g";
  if (soname == "libgcc_s.so.1") return "libgcc-s1";
  const size_t so = soname.find(".so");
  if (so == std::string_view::npos) return std::string(soname);
  std::string name(soname.substr(0, so));
  std::string version(soname.substr(std::min(soname.size(), so + 4)));
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (version.empty()) return name;
  const bool endsInDigit = std::isdigit(static_cast<unsigned char>(name.back()));
  return name + (endsInDigit ? "-" : "") + version;
}

std::string MissingRuntimeMessage(const std::vector<std::string>& missing) {
  bool webEngine = false;
  std::string names, packages;
  std::set<std::string> listed;
  for (const std::string& soname : missing) {
    webEngine = webEngine || IsWebEngine(soname);
    names += (names.empty() ? "" : ", ") + soname;
    const std::string package = DebianPackageOf(soname);
    if (listed.insert(package).second) packages += " " + package;
  }
  std::string text;
  if (webEngine)
    text = "This book needs Qt 6 WebEngine to show its pages, and this computer does not have it.";
  else
    text = "This book cannot start: this computer lacks libraries its viewer needs.";
  text += "\nMissing: " + names + "\n\nInstall them, then start the book again:\n";
  text += "  Debian, Ubuntu: sudo apt install" + packages + "\n";
  if (webEngine) text += "  Fedora: sudo dnf install qt6-qtwebengine\n";
  text += "\nA portable edition of the book (ebook-pack build --portable) runs without them.";
  return text;
}

std::string WrapLines(std::string_view text, size_t width) {
  std::string wrapped;
  size_t begin = 0;
  while (begin <= text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(begin, end - begin);
    const size_t indent = line.find_first_not_of(' ') == std::string_view::npos
                              ? 0
                              : line.find_first_not_of(' ');
    std::string prefix;
    while (line.size() + prefix.size() > width) {
      const size_t room = width > prefix.size() + 2 ? width - prefix.size() - 2 : 1;
      size_t cut = line.rfind(' ', room);
      if (cut == std::string_view::npos || cut <= indent) cut = line.find(' ', room);
      if (cut == std::string_view::npos) break;
      // An indented line is a command: its pieces stay one command when pasted into a shell.
      wrapped.append(prefix).append(line.substr(0, cut)).append(indent ? " \\\n" : "\n");
      line.remove_prefix(cut + 1);
      prefix.assign(indent + 2, ' ');
    }
    wrapped.append(prefix).append(line);
    if (end < text.size()) wrapped += '\n';
    begin = end + 1;
  }
  return wrapped;
}

bool ShowMessageWindow(const std::string& title, const std::string& text) {
  if (!getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY")) return false;
  if (const std::string zenity = ProgramInPath("zenity"); !zenity.empty())
    return RunAndWait({zenity, "--error", "--no-markup", "--title=" + title, "--text=" + text});
  if (const std::string kdialog = ProgramInPath("kdialog"); !kdialog.empty())
    return RunAndWait({kdialog, "--title", title, "--error", text});
  if (const std::string xmessage = ProgramInPath("xmessage"); !xmessage.empty())
    return RunAndWait({xmessage, "-center", "-title", title, "-buttons", "OK:0", WrapLines(text, 76)});
  return false;
}

}  // namespace ebook
