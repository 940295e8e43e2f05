// ebook-pack check as an author reads it: links looked up the way the viewer serves them,
// links to one missing entry or place grouped into one finding, names a temporary folder
// cannot hold, files reached through links to outside the folder, and the JSON form.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "PackCommand.h"
#include "RunTool.h"
#include "support/Scratch.h"
#include "archive/ArchiveWriter.h"

namespace ebook {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::RunTool;
using testing::Scratch;
using ::testing::StartsWith;

const std::string kSettings =
    "[cSettings]\r\nDATA=1111111111000000000000000000201110\r\nhome=index.html\r\n";

class CheckReportTest : public ::testing::Test {
 protected:
  testing::ToolRun Check(std::vector<BookEntry> entries, std::vector<std::string> extra = {}) {
    entries.push_back({"XSE1.QRLC", kSettings});
    SortInBookOrder(entries);
    const std::string book =
        scratch.Write("book" + std::to_string(++books), EncodeArchive(entries)).string();
    std::vector<std::string> args = {"check", book};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunTool(args);
  }
  // The finding lines, without the summary.
  static std::vector<std::string> Findings(const testing::ToolRun& run) {
    std::vector<std::string> lines;
    std::istringstream stream(run.out);
    for (std::string line; std::getline(stream, line);)
      if (line.starts_with("error: ") || line.starts_with("warning: ")) lines.push_back(line);
    return lines;
  }

  Scratch scratch;
  int books = 0;
};

TEST_F(CheckReportTest, LinksTheViewerServesAreNotReported) {
  const testing::ToolRun run = Check({
      {"index.html",
       "<link rel=stylesheet href=\"style.css?v=2022.1\"><img src=\"pics//a.png\">"
       "<a href=\"caf%C3%A9.html\">1</a><a href=\"caf\xC3\xA9.html\">2</a>"
       "<a href=\"./sub/../page.html#here\">3</a><a href=\"folder/\">4</a>"
       "<a href=\"page.html#top\">5</a><a href=\"page.html?x=1#named\">6</a>"
       "<a href=\"/page.html\">7</a><a href=\"PAGE.HTML#here\">8</a><a href=\"#self\">9</a>"
       "<p id=\"self\"></p><a href=\"my%20file.txt\">10</a>"},
      {"style.css", "p {}"},
      {"pics/a.png", "PNG"},
      {"caf\xC3\xA9.html", "x"},
      {"page.html", "<h1 id=\"here\">Here</h1><a name=\"named\"></a>"},
      {"folder/index.html", "x"},
      {"my file.txt", "x"},
  });
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_THAT(Findings(run), IsEmpty()) << run.out;
}

TEST_F(CheckReportTest, LinksTheViewerCannotServeAreReported) {
  const testing::ToolRun run = Check({
      {"index.html",
       "<a href=\"folder/\">no index page</a>\n<a href=\"caf%C3%A9s.html\">no such page</a>\n"
       "<a href=\"page.html#there\">no such place</a>\n<a href=\"page%3Fx.html\">escaped ?</a>\n"
       "<a href=\"page.html#Here\">ids are case-sensitive</a>"},
      {"folder/other.html", "x"},
      {"page.html", "<h1 id=\"here\">Here</h1>"},
  });
  EXPECT_EQ(run.code, kExitFailed);
  const std::vector<std::string> found = Findings(run);
  ASSERT_EQ(found.size(), 6u) << run.out;
  EXPECT_THAT(found[0], StartsWith("error: FOLDER/: no entry has this name"));
  EXPECT_THAT(found[1], StartsWith("error: CAF\xC3\xA9S.HTML: no entry has this name"));
  EXPECT_THAT(found[2], StartsWith("error: PAGE?X.HTML: no entry has this name"));
  EXPECT_THAT(found[3], StartsWith("warning: PAGE.HTML#there: the page has no id or name"));
  EXPECT_THAT(found[4], StartsWith("warning: PAGE.HTML#Here: the page has no id or name"));
  EXPECT_THAT(found[5], StartsWith("warning: FOLDER/OTHER.HTML: no contents node and no link"));
  EXPECT_THAT(run.out, HasSubstr(": 3 errors, 3 warnings (missing entry 3, missing anchor 2, "
                                 "unreached page 1)\n"));
}

TEST_F(CheckReportTest, LinksToOneMissingEntryAreOneFinding) {
  std::vector<BookEntry> entries = {{"index.html", ""}};
  for (int page = 1; page <= 5; ++page) {
    const std::string name = std::string("p").append(std::to_string(page)).append(".html");
    entries[0].content += "<a href=\"" + name + "\">" + name + "</a>\n";
    entries.push_back({name,
                       "<p>\n<img src=\"gone.png\"><img src=\"./gone.png\">\n"
                       "<a href=\"index.html#nowhere\">x</a>"});
  }
  const testing::ToolRun run = Check(entries);
  EXPECT_THAT(Findings(run),
              ElementsAre("error: GONE.PNG: no entry has this name; 10 links lead here, from "
                          "P1.HTML, line 2; P2.HTML, line 2; P3.HTML, line 2 and 2 more pages",
                          "warning: INDEX.HTML#nowhere: the page has no id or name for this "
                          "fragment; the link opens the page at its top; 5 links lead here, from "
                          "P1.HTML, line 3; P2.HTML, line 3; P3.HTML, line 3 and 2 more pages"));

  const testing::ToolRun json = Check(entries, {"--format=json"});
  EXPECT_EQ(json.code, kExitFailed);
  EXPECT_THAT(json.out, StartsWith("{\"book\": \""));
  EXPECT_THAT(json.out,
              HasSubstr("\"errors\": 1, \"warnings\": 1, \"kinds\": {\"missing anchor\": 1, "
                        "\"missing entry\": 1}"));
  EXPECT_THAT(json.out,
              HasSubstr("{\"severity\": \"error\", \"kind\": \"missing entry\", \"where\": "
                        "\"GONE.PNG\", \"what\": \"no entry has this name; 10 links"));
  EXPECT_THAT(json.out,
              HasSubstr("\"links\": 10, \"from\": [\"P1.HTML, line 2\", \"P2.HTML, line 2\", "
                        "\"P3.HTML, line 2\"]}"));
  EXPECT_TRUE(json.out.ends_with("]}\n"));
}

TEST_F(CheckReportTest, PagesNothingReachesAreCountedByFolder) {
  std::vector<BookEntry> entries = {{"index.html", "x"}, {"lost.html", "x"}};
  for (int page = 1; page <= 6; ++page)
    entries.push_back({"_sources/p" + std::to_string(page) + ".txt", "x"});
  EXPECT_THAT(
      Findings(Check(entries)),
      ElementsAre("warning: _SOURCES/: no contents node and no link reaches 6 pages in this "
                  "folder: _SOURCES/P1.TXT, _SOURCES/P2.TXT, _SOURCES/P3.TXT and 3 more",
                  "warning: LOST.HTML: no contents node and no link reaches this page"));
}

// Each name passes the extraction's safety rules but no file can have it in a folder.
TEST_F(CheckReportTest, NamesATemporaryFolderCannotHoldAreErrors) {
  std::string longPath;
  while (longPath.size() < 64 * 1024) longPath += std::string(200, 'd') + "/";
  longPath += "x.htm";
  const testing::ToolRun run = Check({
      {"index.html", "x"},
      {"aaa", "a file"},
      {"aaa/b.txt", "and a file below a folder of the same name"},
      {"dir/", "x"},
      {"sub/.", "x"},
      {"pics/" + std::string(256, 'n'), "x"},
      {longPath, "x"},
      {"../outside.html", "x"},
  });
  EXPECT_EQ(run.code, kExitFailed);
  std::vector<std::string> unextractable;
  for (const std::string& line : Findings(run))
    if (line.find("cannot be extracted to a folder") != std::string::npos)
      unextractable.push_back(line.substr(0, 60));
  EXPECT_EQ(unextractable.size(), 6u) << run.out;
  EXPECT_THAT(run.out, HasSubstr("error: AAA: cannot be extracted to a folder, so temp-folder mode "
                                 "skips it: the entry AAA/B.TXT needs a folder of the same name"));
  EXPECT_THAT(run.out,
              HasSubstr("error: DIR/: cannot be extracted to a folder, so temp-folder mode "
                        "skips it: the name ends in \"/\""));
  EXPECT_THAT(run.out, HasSubstr("error: SUB/.: cannot be extracted"));
  EXPECT_THAT(run.out, HasSubstr("a part of the name is 256 bytes long"));
  EXPECT_THAT(run.out, HasSubstr("the name is " + std::to_string(longPath.size()) + " bytes long"));
  EXPECT_THAT(run.out, HasSubstr("error: ../OUTSIDE.HTML: cannot be extracted to a folder, so "
                                 "temp-folder mode skips it: the name would leave the folder"));
  EXPECT_THAT(run.out, HasSubstr("unextractable name 6"));
}

class OutsideLinkTest : public ::testing::Test {
 protected:
  OutsideLinkTest() {
    viewer = scratch.Write("viewer", "stand-in viewer program\n").string();
    scratch.Write("src/index.html",
                  "<a href=\"notes.txt\">n</a><a href=\"secret.txt\">s</a>"
                  "<a href=\"inside.txt\">i</a>");
    scratch.Write("src/notes.txt", "inside");
    scratch.Write("secret.txt", "the builder's own file");
    fs::create_symlink("../secret.txt",
                       scratch / "src" / "secret.txt");  // relative, as ../../etc/x
    fs::create_symlink("notes.txt", scratch / "src" / "inside.txt");
  }
  testing::ToolRun Build(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {
        "build", (scratch / "src").string(), "-o", (scratch / "book").string(), "--viewer", viewer};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunTool(args);
  }

  Scratch scratch;
  std::string viewer;
};

TEST_F(OutsideLinkTest, BuildRefusesThemUnlessFollowingLinks) {
  const testing::ToolRun refused = Build();
  EXPECT_EQ(refused.code, kExitFailed);
  EXPECT_THAT(refused.err,
              HasSubstr("1 file is a link to outside the source folder: secret.txt -> " +
                        fs::canonical(scratch / "secret.txt").string()));
  EXPECT_THAT(refused.err, HasSubstr("--follow-links"));
  EXPECT_FALSE(fs::exists(scratch / "book"));

  const testing::ToolRun followed = Build({"--follow-links"});
  EXPECT_EQ(followed.code, kExitOk) << followed.err;
  EXPECT_THAT(followed.err, HasSubstr("warning: 1 file is a link to outside the source folder, "
                                      "packed as --follow-links asks: secret.txt"));
  EXPECT_EQ(RunTool({"cat", (scratch / "book").string(), "SECRET.TXT"}).out,
            "the builder's own file");
  // A link that stays inside the folder is an ordinary file.
  EXPECT_EQ(RunTool({"cat", (scratch / "book").string(), "INSIDE.TXT"}).out, "inside");
}

TEST_F(OutsideLinkTest, CheckReportsThem) {
  const testing::ToolRun run = RunTool({"check", (scratch / "src").string()});
  EXPECT_EQ(run.code, kExitFailed);
  EXPECT_THAT(run.out, HasSubstr("error: secret.txt: a link to " +
                                 fs::canonical(scratch / "secret.txt").string() +
                                 ", outside the source folder; build refuses it unless given "
                                 "--follow-links"));
  EXPECT_THAT(run.out, HasSubstr("(link to outside 1)"));
  const testing::ToolRun followed =
      RunTool({"check", (scratch / "src").string(), "--follow-links"});
  EXPECT_EQ(followed.code, kExitOk) << followed.out;
  EXPECT_THAT(followed.out, HasSubstr("warning: secret.txt: a link to " +
                                      fs::canonical(scratch / "secret.txt").string() +
                                      ", outside the source folder; build packs a copy"));
}

// Installed documentation links the system's shared copies of its scripts
// (_static/jquery.js -> /usr/share/javascript/jquery/jquery.js): packed, with a warning.
TEST_F(OutsideLinkTest, SharedSystemFilesArePackedWithAWarning) {
  const fs::path shared = "/usr/share/common-licenses/GPL-3";
  if (!fs::exists(shared)) GTEST_SKIP() << shared << " is not installed";
  fs::remove(scratch / "src" / "secret.txt");
  fs::create_symlink(shared, scratch / "src" / "license.txt");
  const testing::ToolRun run = Build();
  EXPECT_EQ(run.code, kExitOk) << run.err;
  EXPECT_THAT(run.err,
              HasSubstr("warning: 1 file is a link to the system's shared files, packed as "
                        "copies: license.txt -> " +
                        fs::canonical(shared).string()));
}

}  // namespace
}  // namespace ebook
