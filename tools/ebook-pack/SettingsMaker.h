#pragma once
// Settings for a book whose author gave no settings file, and changes to any settings text
// from the command line (--title, --start, --set SECTION.KEY=VALUE).
//
// The settings a folder gets by itself make a usable book: every toolbar button its content
// can use (Content only when it has contents), the start page and its title, a book number,
// bookmarking,
// delivery from memory, a sizeable window of 1024 x 768 centred on the screen, and the
// contents panel open at start when there are contents.

#include <string>
#include <string_view>
#include <vector>

#include "BookWriter.h"

namespace ebook {

// HTML pages in the order they are looked at for a start page or derived contents: the top
// folder's first, then the sub-folders', each group by name compared in lower case.
std::vector<const PackEntry*> PagesInFolderOrder(const std::vector<PackEntry>& files);

// The page a folder's book starts at: index.html, index.htm or default.htm in the top folder
// (any letter case), else the only or first page in folder order; "" when there is none.
std::string DefaultStartPage(const std::vector<PackEntry>& files);

struct DefaultSettingsFacts {
  std::string title;   // in the book's 8-bit text
  std::string number;  // cInfo/enumber, "" for none
  std::string start;   // page name, "" for none
  bool contents = false;
  bool logo = false;  // the book carries its own logo picture
};

// A book number in the usual form, "{8-4-4-4-12 hex digits}", made from `seed` (the source
// folder's absolute path): the same folder built again keeps its number, so its readers keep
// their bookmarks, and books of the same title from other folders do not share them.
std::string BookNumberFor(std::string_view seed);

// The option string the facts call for.
std::string DefaultOptionString(const DefaultSettingsFacts& facts);

// The settings text, CR LF line ends.
std::string DefaultSettingsText(const DefaultSettingsFacts& facts);

// `text` (CR LF lines) with SECTION/KEY set to `value`: the key's line in its section replaced,
// else a line added at the end of the section, else the section added at the end. Section and
// key names match without regard to ASCII case, as the viewer reads them.
std::string SetSettingsValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

// Whether the viewer reads SECTION/KEY.
bool IsViewerSetting(std::string_view section, std::string_view key);

}  // namespace ebook
