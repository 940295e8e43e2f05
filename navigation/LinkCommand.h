#pragma once
// In-page link commands. A link whose address contains "#DO#" (any letter case) is never
// followed; the five characters after the first marker name a command and the rest of the
// address is its argument:
//
//   <page address>#DO#SHOW#Welcome%20back      shows WELCOME BACK
//   #DO#OPEN#$DRV$\docs\guide.pdf              opens the file through the desktop
//   #DO#EXIT#  #DO#QUIT#  #DO#FIND#  #DO#TOC1#  #DO#PRIN#
//
// The argument has "%5C" turned into "\" and then "%20" into " " (exactly these patterns, case
// significant), and is then upper-cased (ASCII letters only). Nothing else is decoded.

#include <optional>
#include <string>
#include <string_view>

namespace ebook {

enum class LinkCommandWord { Unknown, Show, Open, Exit, Quit, Find, Toc1, Prin };

struct LinkCommand {
  std::string word;      // the (up to) five characters after the marker, upper-cased
  LinkCommandWord kind = LinkCommandWord::Unknown;
  std::string argument;  // decoded and upper-cased
};

inline constexpr std::string_view kLinkCommandMarker = "#DO#";

// The command an address carries, or nullopt for an ordinary address.
std::optional<LinkCommand> ParseLinkCommand(std::string_view address);

// "%5C" → "\", then "%20" → " ", every occurrence, case significant.
std::string DecodeBookEscapes(std::string_view text);

// The page name an ordinary navigation records: the address without its first `baseLength`
// characters, decoded as above, upper-cased.
std::string PageTargetOf(std::string_view address, size_t baseLength);

// The argument of "OPEN#" with "$DRV$" replaced by `driveRoot`, then "$WIN$" by `systemRoot`.
// The argument is upper-case already, so the placeholders may be written in any case.
std::string ExpandOpenArgument(std::string_view argument, std::string_view driveRoot,
                               std::string_view systemRoot);

}  // namespace ebook
