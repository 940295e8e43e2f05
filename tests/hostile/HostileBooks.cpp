#include "HostileBooks.h"

#include <zlib.h>

#include <cstdint>
#include <ostream>
#include <stdexcept>

#include "archive/ArchiveWriter.h"
#include "archive/ZLib.h"

namespace ebook::testing {
namespace {

constexpr char kOptions[] = "DATA=1111111111000001000000000000201110";
constexpr char kTempFolderOptions[] = "DATA=1111111111000001010000000000201110";

std::string Page(const std::string& title, const std::string& body = "Hostile book page.") {
  return "<html><head><title>" + title + "</title></head><body><p>" + body +
         "</p><a href='CHAPTER.HTML'>next</a></body></html>";
}

std::vector<BookEntry> Settings(const std::vector<std::string>& extra, bool tempFolder = false,
                                const std::string& home = "index.html") {
  std::vector<std::string> lines = {"[cSettings]", tempFolder ? kTempFolderOptions : kOptions,
                                    "home=" + home, "[cInfo]", "title=Hostile", "[cEve]",
                                    "bookmark=1", "[PFiles]", "UseTOC=1", "UseTOCauto=1"};
  lines.insert(lines.end(), extra.begin(), extra.end());
  return {{"XSE1.QRLC", SettingsText(lines)}};
}

// A sound little book: settings, contents, two pages, a picture.
std::vector<BookEntry> SoundBook(const std::vector<std::string>& extraSettings = {},
                                 bool tempFolder = false) {
  std::vector<BookEntry> book = Settings(extraSettings, tempFolder);
  book.push_back({"INDEX.HTML", Page("Start")});
  book.push_back({"CHAPTER.HTML", Page("Chapter", std::string(20000, 'w'))});
  book.push_back({"PICS/DOT.GIF", "GIF89a\x01\x00\x01\x00\x00\x00\x00;"});
  return book;
}

std::function<void(std::ostream&)> Archive(std::vector<BookEntry> entries,
                                           std::string rawTail = {}) {
  return [entries = std::move(entries), rawTail = std::move(rawTail)](std::ostream& out) {
    out << EncodeArchive(entries) << rawTail;
  };
}

void Int32(std::string& out, int32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
}

// One contents record without children: caption, level, the three picture indices, data.
std::string TocRecord(const std::string& caption, int32_t level, const std::string& data,
                      int32_t childCount) {
  std::string out;
  Int32(out, static_cast<int32_t>(caption.size()));
  out += caption;
  for (int32_t field : {level, 0, -1, 0}) Int32(out, field);
  Int32(out, static_cast<int32_t>(data.size()));
  out += data;
  Int32(out, childCount);
  return out;
}

std::string NodeData(const std::string& page) {
  std::string data(512, '\0');
  data[256] = static_cast<char>(page.size());
  data.replace(257, page.size(), page);
  return data;
}

std::string SoundToc() {
  std::string stream;
  Int32(stream, 2);
  stream += TocRecord("Start", 0, NodeData("INDEX.HTML"), 1);
  stream += TocRecord("Chapter", 1, NodeData("CHAPTER.HTML"), 0);
  stream += TocRecord("Again", 0, NodeData("INDEX.HTML"), 0);
  return stream;
}

std::vector<BookEntry> WithToc(std::string stream) {
  std::vector<BookEntry> book = SoundBook();
  book.insert(book.begin() + 1, {"XTOC.QRLC", std::move(stream)});
  return book;
}

// A nest of `depth` records, each the only child of the one before.
std::string DeepToc(int32_t depth) {
  std::string stream;
  Int32(stream, 1);
  const std::string data = NodeData("INDEX.HTML");
  for (int32_t level = 0; level < depth; ++level)
    stream += TocRecord("n", level, level == 0 ? data : std::string(), level + 1 < depth ? 1 : 0);
  return stream;
}

// The header of a Windows bitmap that claims a picture of width × height at 24 bits, with
// only a few bytes of pixels after it.
std::string HugeBitmapHeader(int32_t width, int32_t height) {
  std::string out = "BM";
  Int32(out, 0x7FFFFFFF);
  Int32(out, 0);
  Int32(out, 54);
  Int32(out, 40);
  Int32(out, width);
  Int32(out, height);
  out += std::string("\x01\x00\x18\x00", 4);
  for (int i = 0; i < 6; ++i) Int32(out, 0);
  return out + std::string(64, '\x7F');
}

std::string LinkCommandPage() {
  const std::string longText(10 * 1024, 'A');
  const std::vector<std::string> commands = {
      "#DO#", "#DO#SHOW", "#DO#ZZZZZ#whatever", "#DO#SHOW#" + longText, "#DO#SHOW#ends with %",
      "#DO#SHOW#%5", "#DO#OPEN#$DRV$/no/such/" + longText + "%", "#DO#OPEN#%"};
  std::string script = "<script>addEventListener('load', () => { for (const href of [";
  for (const std::string& command : commands) script += "'" + command + "',";
  script += "]) { const a = document.createElement('a'); a.href = href; "
            "document.body.appendChild(a); a.click(); } });</script>";
  return "<html><head><title>Commands</title>" + script + "</head><body>commands</body></html>";
}

std::vector<BookEntry> Names(const std::string& outsidePath) {
  return {{"../ESCAPE.HTML", "escape"},
          {outsidePath, "absolute"},
          {"C:/DRIVE.HTML", "drive"},
          {"C:DRIVE2.HTML", "drive"},
          {"CTRL\x01\x1b\x7f.HTML", "control bytes"},
          {"", "empty name"},
          {"SUB/../../UP.HTML", "up"},
          {"SUB\\..\\..\\BACK.HTML", "back"},
          {"STREAM.HTML:ADS", "stream"},
          {std::string("NUL\0BYTE.HTML", 13), "nul"}};
}

}  // namespace

std::string SettingsText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

void WriteZeroBomb(std::ostream& out, size_t size) {
  constexpr size_t kUnit = size_t{16} << 20;
  const std::string zeros(kUnit, '\0');
  z_stream zs{};
  if (deflateInit(&zs, Z_BEST_COMPRESSION) != Z_OK) throw std::runtime_error("deflateInit");
  std::string buffer(kUnit / 256, '\0');
  // After a full flush the compressor starts afresh, so every further unit deflates to the same
  // bytes: the second unit's output is repeated instead of compressing every unit.
  const auto deflateUnit = [&](int flush) {
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
    zs.avail_in = flush == Z_FINISH ? 0 : static_cast<uInt>(zeros.size());
    std::string produced;
    do {
      zs.next_out = reinterpret_cast<Bytef*>(buffer.data());
      zs.avail_out = static_cast<uInt>(buffer.size());
      deflate(&zs, flush);
      produced.append(buffer.data(), buffer.size() - zs.avail_out);
    } while (zs.avail_out == 0);
    return produced;
  };
  const size_t units = std::max<size_t>(2, (size + kUnit - 1) / kUnit);
  out << deflateUnit(Z_FULL_FLUSH);
  const std::string repeated = deflateUnit(Z_FULL_FLUSH);
  for (size_t i = 1; i < units; ++i) out << repeated;
  // The compressor saw two units only: the check value it ends with is replaced by that of all
  // of them. Adler-32 of n zero bytes: A stays 1, B grows by 1 for each byte.
  std::string end = deflateUnit(Z_FINISH);
  const uint64_t adler = ((units * kUnit) % 65521) << 16 | 1;
  for (int i = 0; i < 4; ++i) end[end.size() - 4 + i] = static_cast<char>(adler >> (24 - 8 * i));
  out << end;
  deflateEnd(&zs);
}

std::vector<HostileBook> HostileBooks(size_t memoryLimit, const std::string& outsidePath) {
  std::vector<HostileBook> books;
  const auto add = [&](std::string name, std::string damage, std::function<void(std::ostream&)> write,
                       std::vector<std::string> cat = {"INDEX.HTML"}) {
    books.push_back({std::move(name), std::move(damage), false, std::move(cat), std::move(write)});
    return &books.back();
  };

  const std::string sound = EncodeArchive(WithToc(SoundToc()));
  add("truncated", "the archive cut at 60 % (inside the second page)",
      [sound](std::ostream& out) { out << sound.substr(0, sound.size() * 6 / 10); },
      {"INDEX.HTML", "CHAPTER.HTML"});

  const std::string page = CompressBytes(Page("Start"));
  add("garbage-entry", "the start page's data is random bytes",
      Archive(Settings({}), EncodeRawEntry("INDEX.HTML", "\x13\x99garbage\xfe\x01 not zlib at all")));
  std::string badCheck = page;
  badCheck.back() = static_cast<char>(badCheck.back() ^ 0x5A);
  add("bad-checksum", "the start page's Adler-32 check value altered",
      Archive(Settings({}), EncodeRawEntry("INDEX.HTML", badCheck)));
  add("cut-entry", "the start page's zlib stream cut in half, its end marker intact",
      Archive(Settings({}), EncodeRawEntry("INDEX.HTML", page.substr(0, page.size() / 2))));

  const size_t bombSize = memoryLimit * kBombFactor;
  const auto bomb = [bombSize](bool tempFolder) {
    return [bombSize, tempFolder](std::ostream& out) {
      out << EncodeArchive(Settings({}, tempFolder, "bomb.html"));
      out << EncodeArchive({{"INDEX.HTML", Page("Start")}});
      out << "#1!#BOMB.HTML\xB6";
      WriteZeroBomb(out, bombSize);
      out << "!2!#BOMB.HTML";
    };
  };
  HostileBook* b = add("bomb", "BOMB.HTML inflates to 100 times the memory the viewer may use",
                       bomb(false), {"BOMB.HTML"});
  b->needsMemoryLimit = true;
  b = add("bomb-temp-folder", "the same bomb in a book extracted to a temporary folder",
          bomb(true), {"BOMB.HTML"});
  b->needsMemoryLimit = true;
  b->tempFolder = true;

  // Entries that fit, but only once: every copy of the inflated bytes beyond the first would
  // take the viewer or the tool past its limit. The picture is asked for by the start page; the
  // page is read by the search.
  const size_t largeSize = memoryLimit * 45 / 100;
  b = add("large-entry", "a picture and a page each inflating to 45 % of the memory the viewer may use",
          [largeSize](std::ostream& out) {
            out << EncodeArchive(Settings({}));
            out << EncodeArchive({{"INDEX.HTML", Page("Start", "<img src=\"large.png\"> hostile")}});
            for (const char* name : {"LARGE.PNG", "LARGE.HTML"}) {
              out << "#1!#" << name << "\xB6";
              WriteZeroBomb(out, largeSize);
              out << "!2!#" << name;
            }
          },
          {"INDEX.HTML"});
  b->needsMemoryLimit = true;

  for (const bool tempFolder : {true, false}) {
    std::vector<BookEntry> book = SoundBook({}, tempFolder);
    for (BookEntry& entry : Names(outsidePath)) book.push_back(std::move(entry));
    b = add(tempFolder ? "hostile-names-temp-folder" : "hostile-names",
            "entries named \"../x\", an absolute path, drive letters, control bytes, \"\", "
            "\"SUB/../../x\", \"a\\..\\..\\x\", \"x:stream\", a NUL byte",
            Archive(book), {"../ESCAPE.HTML", outsidePath});
    b->tempFolder = tempFolder;
  }

  // Names that pass every safety rule but that no file system creates: extraction skips them,
  // says so once, and shows the book.
  std::vector<BookEntry> uncreatable = SoundBook({}, true);
  for (const std::string& name : {std::string("PICS/DOT.GIF/INNER.HTML"), std::string("DIR/"),
                                  std::string("."), std::string(300, 'L') + "/X.HTML",
                                  std::string(64 * 1024, 'N') + ".HTML"})
    uncreatable.push_back({name, "cannot be created"});
  b = add("uncreatable-names-temp-folder",
          "a file where a folder must be, \"DIR/\", \".\", a 300-byte level, a 64 KB name, "
          "extracted to a temporary folder",
          Archive(uncreatable));
  b->tempFolder = true;

  std::vector<BookEntry> duplicates = SoundBook();
  duplicates.push_back({"INDEX.HTML", Page("Second of the name")});
  add("duplicate-names", "two entries named INDEX.HTML", Archive(duplicates));

  add("settings-1mb-line", "a settings line of 1 MB (title=...)",
      Archive(SoundBook({"[cInfo]", "about=" + std::string(1 << 20, 'M')})));
  std::vector<BookEntry> noData = SoundBook();
  noData[0].content = SettingsText({"[cSettings]", "home=index.html"});
  add("data-missing", "no DATA option string", Archive(noData));
  std::vector<BookEntry> shortData = SoundBook();
  shortData[0].content = SettingsText({"[cSettings]", "DATA=111", "home=index.html"});
  add("data-3-chars", "DATA=111", Archive(shortData));
  add("bad-colours", "bgColor, txColor and a button size that are not colours or numbers",
      Archive(SoundBook({"[cTool]", "bgColor=clNoSuchColour", "txColor=$GGGGGG",
                         "buttonwidth=99999999999999999999", "buttonheight=-40"})));

  std::vector<BookEntry> pictures = SoundBook();
  for (int n = 1; n <= 10; ++n)
    pictures.push_back({"B" + std::to_string(n) + ".QRLC", n % 2 ? "GIF89a not a bitmap" : ""});
  pictures.push_back({"LOGO.QRLC", "<html>not a picture</html>"});
  pictures.push_back({"XSEI.QRLC", "1"});
  pictures.push_back({"XSE0.QRLC", "BMno more"});
  add("pictures-not-bitmaps", "button, logo and splash pictures that are no bitmaps",
      Archive(pictures));
  std::vector<BookEntry> huge = SoundBook();
  huge.push_back({"B1.QRLC", HugeBitmapHeader(65535, 65535)});
  huge.push_back({"LOGO.QRLC", HugeBitmapHeader(2000000000, -2000000000)});
  huge.push_back({"XSEI.QRLC", "1"});
  huge.push_back({"XSE0.QRLC", HugeBitmapHeader(100000, 100000)});
  add("bitmaps-claiming-gigapixels", "bitmap headers claiming 65535×65535 and larger pictures",
      Archive(huge));

  for (const auto& [name, marker] : std::vector<std::pair<std::string, std::string>>{
           {"splash-marker-not-number", "soon"},
           {"splash-marker-negative", "-5"},
           {"splash-marker-huge", "99999999999999999999"}}) {
    std::vector<BookEntry> book = SoundBook();
    book.push_back({"XSEI.QRLC", marker});
    book.push_back({"XSE0.QRLC", HugeBitmapHeader(8, 8)});
    add(name, "splash marker \"" + marker + "\"", Archive(book));
  }

  const std::string toc = SoundToc();
  add("toc-truncated", "XTOC.QRLC cut inside its second record",
      Archive(WithToc(toc.substr(0, toc.size() / 2 + 3))));
  std::string negative;
  Int32(negative, 1);
  negative += TocRecord("Start", 0, NodeData("INDEX.HTML"), -7);
  negative += TocRecord("Orphan", -3, std::string(), -1);
  std::string negativeTop;
  Int32(negativeTop, -2);
  add("toc-negative-counts", "XTOC.QRLC with negative child and level counts",
      Archive(WithToc(negative)));
  add("toc-negative-top-count", "XTOC.QRLC whose node count is -2", Archive(WithToc(negativeTop)));
  std::string hugeCounts;
  Int32(hugeCounts, 0x7FFFFFFF);
  hugeCounts += TocRecord("Start", 0, NodeData("INDEX.HTML"), 0x7FFFFFFF);
  Int32(hugeCounts, 0x7FFFFFFF);
  add("toc-huge-counts", "XTOC.QRLC claiming 2^31-1 nodes, children and caption bytes",
      Archive(WithToc(hugeCounts)));
  add("toc-million-deep", "XTOC.QRLC nested a million levels deep", Archive(WithToc(DeepToc(1000000))));

  std::vector<BookEntry> commands = SoundBook();
  commands[1].content = LinkCommandPage();
  add("link-commands", "a page clicking \"#DO#\", unknown words, 10 KB arguments, \"%\" at the end",
      Archive(commands));
  return books;
}

}  // namespace ebook::testing
