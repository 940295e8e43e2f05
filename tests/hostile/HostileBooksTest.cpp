// Every hostile book opened by the real viewer (offscreen, with a screenshot of what it shows)
// and by the real book tool. Neither may crash, hang or write outside the book's temporary
// folder; each either shows what can be read or says what is wrong. Each test prints its row
// of the report ("| book | damage | viewer | book tool |").

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Confinement.h"
#include "HostileBooks.h"

namespace ebook::testing {
namespace {

namespace fs = std::filesystem;

// The bomb inflates to a hundred times this; the viewer, its browser processes and the tool
// get this much memory in all.
constexpr size_t kMemoryLimit = size_t{1536} << 20;
const std::string kOutsideFolder = "/EBOOK-HOSTILE-OUTSIDE";
const std::string kOutsidePath = kOutsideFolder + "/WRITTEN.HTML";

const std::vector<HostileBook>& Books() {
  static const std::vector<HostileBook> books = HostileBooks(kMemoryLimit, kOutsidePath);
  return books;
}

// What the viewer must say on stderr (where an offscreen viewer writes its message boxes).
const std::map<std::string, std::vector<std::string>>& ViewerMessages() {
  static const std::map<std::string, std::vector<std::string>> messages = {
      {"bomb-temp-folder", {"insufficient memory"}},
      {"link-commands", {std::string(10 * 1024, 'A'), "ENDS WITH %"}},
      {"uncreatable-names-temp-folder", {"5 of the book's files could not be written"}},
  };
  return messages;
}

// What the book tool must say when asked for an entry.
const std::map<std::string, std::string>& ToolCatMessages() {
  static const std::map<std::string, std::string> messages = {
      {"garbage-entry", "data error"},
      {"bad-checksum", "data error"},
      {"cut-entry", "buffer error"},
      {"bomb", "insufficient memory"},
      {"bomb-temp-folder", "insufficient memory"},
  };
  return messages;
}

// What the book tool's check must report (on stdout, exit status 1).
const std::map<std::string, std::string>& ToolCheckSays() {
  static const std::map<std::string, std::string> findings = {
      {"uncreatable-names-temp-folder", "cannot be extracted to a folder"},
  };
  return findings;
}

// Commands of the book tool that must succeed on a book (exit status 0).
const std::map<std::string, std::vector<std::string>>& ToolMustSucceed() {
  static const std::map<std::string, std::vector<std::string>> commands = {
      {"large-entry", {"list", "search", "cat"}},
  };
  return commands;
}

std::string FirstLine(const std::string& text, size_t width = 90) {
  std::string line = text.substr(0, text.find('\n'));
  if (line.size() > width) line = line.substr(0, width) + "…";
  return line;
}

// The viewer's own messages on stderr (captioned with the application's or the book's title),
// without the browser engine's diagnostics.
std::string ViewerSaid(const std::string& err) {
  std::istringstream lines(err);
  std::string said;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("eBook: ") || line.starts_with("Hostile: ")) said += line + "\n";
  }
  return said;
}

// A private home for one run of the real programs: HOME, the XDG folders and TMPDIR inside it,
// and a stand-in for the desktop's opener. EBOOK_KEEP_HOSTILE keeps it for a look afterwards.
class PrivateHome {
 public:
  explicit PrivateHome(const std::string& name)
      : path_(fs::temp_directory_path() /
              ("ebook-hostile-" + std::to_string(getpid()) + "-" + name)) {
    fs::remove_all(path_);
    for (const char* folder : {"home", "tmp", "bin", "run", "logs"}) fs::create_directories(path_ / folder);
    fs::permissions(path_ / "run", fs::perms::owner_all);
    // Link commands that open files reach this stand-in for the desktop's opener.
    const fs::path opener = path_ / "bin/xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"" << (path_ / "opened").string()
                          << "\"\n";
    fs::permissions(opener, fs::perms::owner_all);
  }
  ~PrivateHome() {
    if (!getenv("EBOOK_KEEP_HOSTILE")) fs::remove_all(path_);
  }
  const fs::path& path() const { return path_; }

  std::vector<std::string> Environment() const {
    std::vector<std::string> environment = {
        "PATH=" + (path_ / "bin").string() + ":/usr/local/bin:/usr/bin:/bin",
        "HOME=" + (path_ / "home").string(),
        "XDG_CONFIG_HOME=" + (path_ / "home/.config").string(),
        "XDG_CACHE_HOME=" + (path_ / "home/.cache").string(),
        "XDG_DATA_HOME=" + (path_ / "home/.local/share").string(),
        "XDG_RUNTIME_DIR=" + (path_ / "run").string(),
        "TMPDIR=" + (path_ / "tmp").string(),
        "QT_QPA_PLATFORM=offscreen",
        "LANG=C.UTF-8"};
    if (geteuid() == 0) environment.push_back("QTWEBENGINE_DISABLE_SANDBOX=1");
    return environment;
  }

 private:
  fs::path path_;
};

// Files anywhere under `folder` whose names an escaping entry would have.
std::vector<std::string> EscapedFiles(const fs::path& folder) {
  std::vector<std::string> found;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    const std::string name = item.path().filename().string();
    for (const char* escaped : {"ESCAPE", "UP.HTML", "BACK.HTML", "DRIVE", "WRITTEN"})
      if (name.find(escaped) != std::string::npos) found.push_back(item.path().string());
  }
  return found;
}

class HostileBookTest : public ::testing::TestWithParam<size_t> {};

TEST_P(HostileBookTest, OpensWithoutCrashHangOrStrayWrites) {
  const HostileBook& book = Books()[GetParam()];
  SCOPED_TRACE(book.name);
  PrivateHome home(book.name);
  const fs::path bookPath = home.path() / "book";
  {
    std::ofstream out(bookPath, std::ios::binary);
    std::ifstream viewer(EBOOK_VIEWER_PATH, std::ios::binary);
    out << viewer.rdbuf();
    book.write(out);
  }
  fs::permissions(bookPath, fs::perms::owner_all);

  std::unique_ptr<MemoryBox> box;
  if (book.needsMemoryLimit) {
    box = std::make_unique<MemoryBox>(kMemoryLimit);
    if (!box->ready()) GTEST_SKIP() << "the bomb needs a memory limit: " << box->whyNot();
  }
  const std::string procs = box ? box->procsFile() : std::string();
  const auto environment = home.Environment();
  const fs::path logs = home.path() / "logs";

  // The viewer.
  const fs::path shot = home.path() / "shown.png";
  const ProcessResult viewer =
      RunProcess(bookPath.string(), {"--screenshot", shot.string()}, environment, logs / "viewer", procs);
  EXPECT_EQ(viewer.signal, 0) << viewer.err;
  EXPECT_EQ(viewer.exitCode, 0) << viewer.err;
  EXPECT_TRUE(fs::exists(shot) && fs::file_size(shot) > 0) << viewer.err;
  if (const auto wanted = ViewerMessages().find(book.name); wanted != ViewerMessages().end()) {
    for (const std::string& message : wanted->second) {
      EXPECT_NE(viewer.err.find(message), std::string::npos) << "missing: " << FirstLine(message);
    }
  }
  // Nothing is left in the temporary folder, and nothing was written outside it.
  EXPECT_TRUE(fs::is_empty(home.path() / "tmp"));
  EXPECT_EQ(EscapedFiles(home.path()), std::vector<std::string>());
  EXPECT_FALSE(fs::exists(kOutsideFolder));

  // The book tool.
  std::vector<std::vector<std::string>> commands = {{"list", bookPath.string()},
                                                    {"settings", bookPath.string()},
                                                    {"toc", bookPath.string()},
                                                    {"check", bookPath.string()},
                                                    {"search", bookPath.string(), "hostile"}};
  for (const std::string& entry : book.catEntries) commands.push_back({"cat", bookPath.string(), entry});
  std::ostringstream toolSummary;
  for (size_t i = 0; i < commands.size(); ++i) {
    const std::vector<std::string>& command = commands[i];
    const ProcessResult tool = RunProcess(EBOOK_PACK_PATH, command, environment,
                                          logs / ("tool" + std::to_string(i)), procs);
    SCOPED_TRACE(command[0]);
    EXPECT_EQ(tool.signal, 0) << tool.err;
    EXPECT_TRUE(tool.exitCode == 0 || tool.exitCode == 1) << tool.exitCode << " " << tool.err;
    if (const auto must = ToolMustSucceed().find(book.name); must != ToolMustSucceed().end() &&
        std::count(must->second.begin(), must->second.end(), command[0])) {
      EXPECT_EQ(tool.exitCode, 0) << tool.err;
    }
    // check reports its findings on stdout; a failing command says why on stderr.
    const std::string& said = command[0] == "check" ? tool.out : tool.err;
    if (tool.exitCode != 0) {
      EXPECT_FALSE(said.empty());
    }
    if (const auto must = ToolCheckSays().find(book.name);
        must != ToolCheckSays().end() && command[0] == "check") {
      EXPECT_EQ(tool.exitCode, 1);
      EXPECT_NE(tool.out.find(must->second), std::string::npos) << tool.out;
    }
    toolSummary << command[0] << " " << tool.exitCode;
    if (tool.exitCode != 0) toolSummary << " \"" << FirstLine(said, 70) << "\"";
    toolSummary << "; ";
    if (command[0] == "cat" && command[2] == book.catEntries.front()) {
      if (const auto wanted = ToolCatMessages().find(book.name); wanted != ToolCatMessages().end()) {
        EXPECT_NE(tool.err.find(wanted->second), std::string::npos) << tool.err;
      }
    }
  }
  EXPECT_FALSE(fs::exists(kOutsideFolder));

  std::string viewerSummary = viewer.signal ? "killed by signal " + std::to_string(viewer.signal)
                                            : "exit " + std::to_string(viewer.exitCode);
  viewerSummary += fs::exists(shot) ? ", window shown" : ", no window";
  if (const std::string said = ViewerSaid(viewer.err); !said.empty())
    viewerSummary += ", says \"" + FirstLine(said, 70) + "\"";
  if (fs::exists(home.path() / "opened")) {
    std::ifstream opened(home.path() / "opened");
    const auto count = std::count(std::istreambuf_iterator<char>(opened), {}, '\n');
    viewerSummary += ", handed " + std::to_string(count) + " files to the desktop's opener";
  }
  if (box) viewerSummary += ", peak memory " + std::to_string(box->peakUsage() >> 20) + " MiB";
  std::cout << "| " << book.name << " | " << book.damage << " | " << viewerSummary << " | "
            << toolSummary.str() << "|\n";
}

std::string BookName(const ::testing::TestParamInfo<size_t>& info) {
  std::string name = Books()[info.param].name;
  for (char& c : name)
    if (c == '-') c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Books, HostileBookTest, ::testing::Range<size_t>(0, Books().size()),
                         BookName);

}  // namespace
}  // namespace ebook::testing
