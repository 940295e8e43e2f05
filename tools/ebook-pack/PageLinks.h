#pragma once
// The addresses a book's pages and style sheets name, and the entries they lead to.
//
// A page asks the browser for an address relative to its own, and the browser hands the
// resolved address to the viewer, which takes the rest after the book's base address as the
// entry name with only "%20" decoded. So a link leads to the entry named by the resolved path
// without its query and fragment, "%20" turned into a space, ASCII letters upper-cased.

#include <string>
#include <string_view>
#include <vector>

namespace ebook {

struct PageLink {
  std::string kind;     // where it was written: "a href", "img src", "url()", "@import"
  std::string address;  // as written, attribute entities not decoded
  int line = 0;         // 1-based line of the address
};

// href and src of a, img, link, script, frame, iframe, area, embed and source; background of
// body, table, tr, td and th; url(...) in <style> blocks and style attributes. Comments and the
// bodies of scripts are skipped.
std::vector<PageLink> HtmlLinks(std::string_view html);

// url(...) and @import "..." of a style sheet; `firstLine` is the line the text begins on.
std::vector<PageLink> CssLinks(std::string_view css, int firstLine = 1);

enum class LinkTargetKind {
  Entry,      // `entry` is the name the viewer looks up
  Elsewhere,  // another scheme, "//host", a link command, the page itself or a fragment of it
  AboveTop,   // ".." climbs above the book's top folder
};

struct LinkTarget {
  LinkTargetKind kind = LinkTargetKind::Elsewhere;
  std::string entry;
};

// Where `address`, written in the entry `from` ("CHAPTERS/ONE.HTML"), leads. A leading "/"
// starts at the book's top folder.
LinkTarget ResolveLink(std::string_view from, std::string_view address);

}  // namespace ebook
