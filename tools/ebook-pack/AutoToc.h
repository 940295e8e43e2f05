#pragma once
// Contents made from a folder's own pages, for authors who have none written.
//
// Documentation generators (Sphinx, DocBook, Doxygen, texinfo) all put the book's contents on
// its start page or a contents page as nested lists of links: <ul>/<ol> with <li>, or DocBook's
// <dl> with a link in each <dt> and the sub-list in the <dd> after it. The list (an outermost
// list with everything nested in it) that links the most of the book's pages, on the start page
// or a top-level contents.html, toc.html or index.html, becomes the contents, one node a link,
// nested as the lists nest. A folder with no such list gets one node a page in folder order,
// captioned with the page's title (else its first heading, else its name), with a node under it
// for each <h1> and <h2> that a link can reach (it has an id, or holds one).
//
// Captions are what the reader sees: decoded from the page's encoding, character references
// decoded, blanks made one space; stored as the book's 8-bit text (EncodeBookText in
// text/BookText.h: Windows-1252 where it can be, so that any viewer shows them).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BookWriter.h"
#include "contents/TocStream.h"

namespace ebook {

struct DerivedContents {
  TocTree tree;
  std::string source;  // "the lists of contents.html", "page titles and headings"
};

// `files` are the folder's files; `startPage` the book's start page ("" for none).
DerivedContents DeriveContents(const std::vector<PackEntry>& files, std::string_view startPage);

// The page `href`, written in the page `from` ("sub/page.html"), names, relative to the book's
// top folder, with its query and fragment; letter case as written. nullopt for an address
// outside the book: another scheme, "//host", a link command, or a path above the top.
std::optional<std::string> BookPageName(std::string_view from, std::string_view href);

}  // namespace ebook
