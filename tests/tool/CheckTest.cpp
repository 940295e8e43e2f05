// ebook-pack check: each fault a book can carry is found and named, nothing is found in a
// sound book, and links are followed the way the browser and the viewer follow them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "BookBuilder.h"
#include "PackCommand.h"
#include "PageLinks.h"
#include "RunTool.h"
#include "support/Scratch.h"
#include "archive/ArchiveWriter.h"
#include "contents/TocStream.h"
#include "contents/TocText.h"

namespace ebook {
namespace {

using ::testing::HasSubstr;
using testing::RunTool;
using testing::Scratch;

// A Windows bitmap of 2 x 2 pixels at 24 bits, rows padded to 8 bytes; `rows` of them stored.
std::string Bitmap(int rows = 2) {
  auto le = [](uint32_t value, int width) {
    std::string out;
    for (int i = 0; i < width; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
  };
  return "BM" + le(54 + 16, 4) + le(0, 4) + le(54, 4) + le(40, 4) + le(2, 4) + le(2, 4) + le(1, 2) +
         le(24, 2) + le(0, 4) + le(16, 4) + std::string(16, '\0') + std::string(8 * rows, '\x7F');
}
const std::string kBitmap = Bitmap();
const std::string kSettings =
    "[cSettings]\r\nDATA=1111111111000001000000000000201110\r\nhome=index.html\r\n"
    "[PFiles]\r\nUseTOC=1\r\n";
const std::string kToc = "Start\tindex.html\nOne\tpart/one.html#top\n";

// A small sound book: every page reached, every link and picture present.
std::vector<BookEntry> SoundBook() {
  return {
      {"XSE1.QRLC", kSettings},
      {"XTOC.QRLC", WriteTocStream(ParseTocText(kToc))},
      {"LOGO.QRLC", kBitmap},
      {"index.html",
       "<html><head><link rel=stylesheet href='style.css'></head>\n"
       "<body><a href=\"part/one.html\">one</a>\n<img src=\"pics/a.bmp\"></body></html>"},
      {"part/one.html",
       "<a href=\"../index.html#top\">back</a> <a href=\"#DO#EXIT#\">close</a>\n"
       "<a href=\"https://example.com/\">web</a> <a href=\"mailto:a@b.c\">mail</a>"},
      {"style.css", "body { background: url(\"pics/a.bmp\") }\n"},
      {"pics/a.bmp", kBitmap},
  };
}

void Put(std::vector<BookEntry>& entries, std::string name, std::string content) {
  for (BookEntry& entry : entries)
    if (entry.name == name) {
      entry.content = std::move(content);
      return;
    }
  entries.push_back({std::move(name), std::move(content)});
}

// The finding lines of a check's output (the summary line left out).
std::vector<std::string> Findings(const std::string& out) {
  std::vector<std::string> lines;
  std::istringstream stream(out);
  for (std::string line; std::getline(stream, line);)
    if (line.rfind("error: ", 0) == 0 || line.rfind("warning: ", 0) == 0) lines.push_back(line);
  return lines;
}

struct Fault {
  Fault(std::string what, std::function<void(std::vector<BookEntry>&)> spoil, std::string finding,
        std::string tail = {}, size_t count = 1)
      : what(std::move(what)),
        spoil(std::move(spoil)),
        finding(std::move(finding)),
        tail(std::move(tail)),
        count(count) {}
  std::string what;
  std::function<void(std::vector<BookEntry>&)> spoil;
  std::string finding;  // the one line the check must report
  std::string tail;     // raw bytes appended after the archive
  size_t count;         // findings in all
};

TEST(CheckTest, FindsEachFaultAndNothingElse) {
  const Fault faults[] = {
      {"sound book", [](std::vector<BookEntry>&) {}, ""},
      {"link to a missing page",
       [](std::vector<BookEntry>& e) {
         Put(e, "part/one.html", "<p>\n<a href=\"two.html?x=1\">two</a>");
       },
       "error: PART/TWO.HTML: no entry has this name; 1 link leads here (a href \"two.html?x=1\"), "
       "from PART/ONE.HTML, line 2"},
      {"missing picture",
       [](std::vector<BookEntry>& e) { Put(e, "part/one.html", "<IMG SRC=../pics/my%20b.bmp>"); },
       "error: PICS/MY B.BMP: no entry has this name; 1 link leads here (img src "
       "\"../pics/my%20b.bmp\"), from PART/ONE.HTML, line 1"},
      {"missing picture of a style sheet",
       [](std::vector<BookEntry>& e) {
         Put(e, "style.css", "/* url(old.png) */\nh1 { background: url( b.png ) }");
       },
       "error: B.PNG: no entry has this name; 1 link leads here (url() \"b.png\"), from STYLE.CSS, "
       "line 2"},
      {"link above the top folder",
       [](std::vector<BookEntry>& e) {
         Put(e, "part/one.html", "<a href=\"../../index.html\">x</a>");
       },
       "error: PART/ONE.HTML, line 1: a href \"../../index.html\" climbs above the book's top "
       "folder"},
      {"contents node naming no entry",
       [](std::vector<BookEntry>& e) {
         Put(e, "XTOC.QRLC", WriteTocStream(ParseTocText(kToc + "  Two\tpart/two.html\n")));
       },
       "error: contents node 3 \"Two\": the page \"part/two.html\" names no entry (PART/TWO.HTML)"},
      {"contents node naming a missing place",
       [](std::vector<BookEntry>& e) {
         Put(e, "XTOC.QRLC", WriteTocStream(ParseTocText(kToc + "  Two\tpart/one.html#two\n")));
       },
       "warning: contents node 3 \"Two\": the page \"part/one.html#two\" has no id or name "
       "\"two\"; the node opens the page at its top"},
      {"page nothing reaches", [](std::vector<BookEntry>& e) { Put(e, "part/lost.txt", "lost"); },
       "warning: PART/LOST.TXT: no contents node and no link reaches this page"},
      {"name the viewer cannot serve",
       [](std::vector<BookEntry>& e) { Put(e, "pics/a\tb.png", "x"); },
       "error: PICS/A\tB.PNG: the viewer cannot serve this name"},
      {"name no file can have",
       [](std::vector<BookEntry>& e) { Put(e, "pics/" + std::string(300, 'n') + ".png", "x"); },
       "error: PICS/" + std::string(300, 'N') + ".PNG: cannot be extracted to a folder, so "
       "temp-folder mode skips it: a part of the name is 304 bytes long"},
      {"link to a missing place in a page",
       [](std::vector<BookEntry>& e) {
         Put(e, "index.html",
             "<a href=\"part/one.html\">one</a><a href=\"part/one.html#nowhere\">x</a>");
       },
       "warning: PART/ONE.HTML#nowhere: the page has no id or name for this fragment; the link "
       "opens the page at its top; 1 link leads here (a href \"part/one.html#nowhere\"), from "
       "INDEX.HTML, line 1"},
      {"short option string",
       [](std::vector<BookEntry>& e) {
         Put(e, "XSE1.QRLC", "[PFiles]\r\nUseTOC=1\r\n[cSettings]\r\nDATA=1111\r\nhome=index.html");
       },
       "error: settings, line 4: the option string holds 4 switches; the viewer reads 34"},
      {"no option string",
       [](std::vector<BookEntry>& e) {
         Put(e, "XSE1.QRLC", "[cSettings]\r\nhome=index.html\r\n[PFiles]\r\nUseTOC=1");
       },
       "error: settings: no option string (cSettings/DATA)"},
      {"settings key the viewer does not read",
       [](std::vector<BookEntry>& e) {
         Put(e, "XSE1.QRLC", "\r\n\r\n" + kSettings + "[CEVE]\r\nWIDTH=800\r\nhieght=600\r\n");
       },
       "warning: settings, line 10: CEVE/hieght is not a setting the viewer reads"},
      {"colour that is no colour",
       [](std::vector<BookEntry>& e) {
         Put(e, "XSE1.QRLC", kSettings + "[cTool]\r\nbgColor=clNavy\r\ntxColor=clNavvy\r\n");
       },
       "warning: settings, line 8: cTool/txColor \"clNavvy\" is neither a colour name nor a number"},
      {"number that is no number",
       [](std::vector<BookEntry>& e) {
         Put(e, "XSE1.QRLC", kSettings + "[cEve]\r\nwidth=$320\r\nheight=600px\r\n");
       },
       "warning: settings, line 8: cEve/height \"600px\" is not a whole number; the viewer uses "
       "the default \"480\""},
      {"settings with LF line ends",
       [](std::vector<BookEntry>& e) {
         Put(e, "XSE1.QRLC", "[cSettings]\nDATA=1111111111000001000000000000201110\n");
       },
       // and so: no option string, no start page, contents not loaded
       "error: settings: lines end in LF alone", "", 4},
      {"button picture that is no bitmap",
       [](std::vector<BookEntry>& e) { Put(e, "B3.QRLC", "GIF89a"); },
       "error: B3.QRLC: the toolbar button picture is not a Windows bitmap"},
      {"logo that is no bitmap", [](std::vector<BookEntry>& e) { Put(e, "LOGO.QRLC", "\x89PNG"); },
       "error: LOGO.QRLC: the logo picture is not a Windows bitmap"},
      {"bitmap cut short",
       [](std::vector<BookEntry>& e) { Put(e, "B3.QRLC", Bitmap(1)); },
       "error: B3.QRLC: the toolbar button picture cannot be loaded: it claims 2 x 2 pixels (70 "
       "bytes) but holds 62"},
      {"bitmap header cut short",
       [](std::vector<BookEntry>& e) { Put(e, "LOGO.QRLC", Bitmap().substr(0, 20)); },
       "error: LOGO.QRLC: the logo picture cannot be loaded: its header is cut short"},
      {"splash picture that is no bitmap",
       [](std::vector<BookEntry>& e) {
         Put(e, "XSE0.QRLC", "JFIF");
         Put(e, "XSEI.QRLC", "2");
       },
       "error: XSE0.QRLC: the splash picture is not a Windows bitmap"},
      {"missing start page",
       [](std::vector<BookEntry>& e) {
         Put(e, "XSE1.QRLC",
             "[cSettings]\r\nDATA=1111111111000001000000000000201110\r\n"
             "home=start.html\r\n[PFiles]\r\nUseTOC=1\r\n");
       },
       "error: settings: the start page \"start.html\" names no entry"},
      {"entry that cannot be inflated", [](std::vector<BookEntry>&) {},
       "error: ZZ.CSS: cannot be inflated: data error", EncodeRawEntry("ZZ.CSS", "not zlib")},
  };
  Scratch scratch;
  int books = 0;
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.what);
    std::vector<BookEntry> entries = SoundBook();
    fault.spoil(entries);
    SortInBookOrder(entries);
    const std::string book =
        scratch.Write("book" + std::to_string(++books), EncodeArchive(entries) + fault.tail)
            .string();
    const testing::ToolRun run = RunTool({"check", book});
    const std::vector<std::string> found = Findings(run.out);
    const bool error = fault.finding.rfind("error", 0) == 0;
    EXPECT_EQ(run.code, error ? kExitFailed : kExitOk) << run.out << run.err;
    if (fault.finding.empty()) {
      EXPECT_EQ(run.out, book + ": 0 errors, 0 warnings\n");
    } else {
      ASSERT_EQ(found.size(), fault.count) << run.out;
      EXPECT_THAT(found[0], HasSubstr(fault.finding));
      if (fault.count == 1) {
        EXPECT_THAT(run.out,
                    HasSubstr(error ? ": 1 error, 0 warnings (" : ": 0 errors, 1 warning ("));
      }
    }
  }
}

TEST(CheckTest, SampleBookHasNoFindings) {
  const std::filesystem::path samples = EBOOK_SAMPLES_DIR;
  Scratch scratch;
  BuildOptions options;
  options.source = samples / "book";
  options.settings = samples / "book.ini";
  options.toc = samples / "book.toc.txt";
  options.logo = samples / "logo.bmp";
  options.buttons = samples / "buttons";
  options.viewer = scratch.Write("viewer", "stand-in viewer program\n");
  options.output = scratch / "sample-book";
  BuildBook(options);

  const std::string built = options.output.string();
  const testing::ToolRun book = RunTool({"check", built});
  EXPECT_EQ(book.code, kExitOk);
  EXPECT_EQ(book.out, built + ": 0 errors, 0 warnings\n");

  // The source folder, read as the build stores it, gives the same verdict.
  const testing::ToolRun folder =
      RunTool({"check", options.source.string(), "--settings", options.settings.string(), "--toc",
               options.toc.string(), "--logo", options.logo.string(), "--buttons",
               options.buttons.string()});
  EXPECT_EQ(folder.code, kExitOk);
  EXPECT_EQ(folder.out, options.source.string() + ": 0 errors, 0 warnings\n");
}

TEST(CheckTest, UnreadableBookIsAFailure) {
  Scratch scratch;
  const std::string missing = (scratch / "missing").string();
  const std::string notABook = scratch.Write("notes.txt", "no archive here").string();
  for (const std::string& path : {missing, notABook}) {
    const testing::ToolRun run = RunTool({"check", path});
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_THAT(run.err, HasSubstr(path));
  }
}

// Links resolved as the browser resolves them; the name the viewer is then asked for, and the
// entry that names for messages.
TEST(CheckTest, LinksLeadWhereTheBrowserGoes) {
  const struct {
    std::string from, address;
    LinkTargetKind kind;
    std::string request, entry, fragment;
  } cases[] = {
      {"A/B/PAGE.HTML", "../c/d.png", LinkTargetKind::Entry, "A/C/D.PNG", "A/C/D.PNG", ""},
      {"A/PAGE.HTML", "./x/../y.htm#part", LinkTargetKind::Entry, "A/Y.HTM#PART", "A/Y.HTM", "part"},
      {"A/PAGE.HTML", "/top.html?q=1", LinkTargetKind::Entry, "TOP.HTML?Q=1", "TOP.HTML", ""},
      {"PAGE.HTML", "my%20pic.png", LinkTargetKind::Entry, "MY PIC.PNG", "MY PIC.PNG", ""},
      {"PAGE.HTML", "my%2Fpic.png", LinkTargetKind::Entry, "MY%2FPIC.PNG", "MY/PIC.PNG", ""},
      {"PAGE.HTML", "a.html#caf%C3%A9", LinkTargetKind::Entry, "A.HTML#CAF%C3%A9", "A.HTML",
       "caf\xC3\xA9"},
      {"PAGE.HTML", " sub/ ", LinkTargetKind::Entry, "SUB/", "SUB/", ""},
      {"PAGE.HTML", "#Top", LinkTargetKind::Entry, "PAGE.HTML#TOP", "PAGE.HTML", "Top"},
      {"A/PAGE.HTML", "../../x.html", LinkTargetKind::AboveTop, "", "", ""},
      {"PAGE.HTML", "other.html#DO#SHOW#hi", LinkTargetKind::Elsewhere, "", "", ""},
      {"PAGE.HTML", "JavaScript:void(0)", LinkTargetKind::Elsewhere, "", "", ""},
      {"PAGE.HTML", "//cdn.example.com/x.js", LinkTargetKind::Elsewhere, "", "", ""},
      {"PAGE.HTML", "data:image/png;base64,AAAA", LinkTargetKind::Elsewhere, "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    const LinkTarget target = ResolveLink(c.from, c.address);
    EXPECT_EQ(target.kind, c.kind);
    EXPECT_EQ(target.request, c.request);
    EXPECT_EQ(target.entry, c.entry);
    EXPECT_EQ(target.fragment, c.fragment);
  }
}

TEST(CheckTest, PageLinksSkipCommentsAndScripts) {
  const std::string html =
      "<!-- <img src=old.png> -->\n"
      "<script>var s = '<img src=\"fake.png\">';</script><script src=lib.js></script>\n"
      "<style>\n p { background: url('bg.png') }</style>\n"
      "<TD Background = \"cell.png\" style=\"list-style: url(dot.png)\"><a name=x>"
      "<area href=r&amp;d.html>";
  std::vector<std::string> found;
  for (const PageLink& link : HtmlLinks(html))
    found.push_back(link.kind + " " + link.address + " " + std::to_string(link.line));
  EXPECT_EQ(found, (std::vector<std::string>{"script src lib.js 2", "url() bg.png 4",
                                             "td background cell.png 5", "url() dot.png 5",
                                             "area href r&d.html 5"}));
}

}  // namespace
}  // namespace ebook
