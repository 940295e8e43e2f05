#pragma once
// The addresses a book's pages and style sheets name, and the entries they lead to.
//
// A page asks the browser for an address relative to its own, and the browser hands the
// resolved address to the viewer, which takes the rest after the book's base address, "%20"
// decoded, and looks it up as navigation/EntryLookup says: exactly, then without fragment and
// query, with the path collapsed, escapes decoded, a folder's index page. The page names
// themselves are resolved there too (ResolveLinkedPage), for the viewer and the tool alike.

#include <string>
#include <string_view>
#include <vector>

namespace ebook {

struct PageLink {
  std::string kind;     // where it was written: "a href", "img src", "url()", "@import"
  std::string address;  // as the browser reads it: in HTML, character references decoded
  int line = 0;         // 1-based line of the address
};

// href and src of a, img, link, script, frame, iframe, area, embed and source; background of
// body, table, tr, td and th; url(...) in <style> blocks and style attributes. Comments and the
// bodies of scripts are skipped.
// The values of every id attribute, and of the name attribute of <a>, go to `ids` when given:
// the places a "#fragment" can point at.
std::vector<PageLink> HtmlLinks(std::string_view html, std::vector<std::string>* ids = nullptr);

// url(...) and @import "..." of a style sheet; `firstLine` is the line the text begins on.
std::vector<PageLink> CssLinks(std::string_view css, int firstLine = 1);

enum class LinkTargetKind {
  Entry,      // `entry` is the name the viewer looks up
  Elsewhere,  // another scheme, "//host", a link command, the page itself or a fragment of it
  AboveTop,   // ".." climbs above the book's top folder
};

struct LinkTarget {
  LinkTargetKind kind = LinkTargetKind::Elsewhere;
  // The name the viewer is asked for: the path resolved against the page's, with query and
  // fragment, "%20" decoded, ASCII letters upper-cased. Look it up with ResolveEntryName.
  std::string request;
  // The entry it names, for messages: without query and fragment, collapsed, escapes decoded.
  std::string entry;
  std::string fragment;  // escapes decoded; "" when there is none
};

// Where `address`, written in the entry `from` ("CHAPTERS/ONE.HTML"), leads. A leading "/"
// starts at the book's top folder.
LinkTarget ResolveLink(std::string_view from, std::string_view address);

}  // namespace ebook
