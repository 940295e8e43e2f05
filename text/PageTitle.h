#pragma once
// A page's title: the text of its first <title> element, which may carry attributes
// (<title xmlns:d="...">), up to the first "</title" of the page (compared without regard to
// ASCII letter case).

#include <optional>
#include <string>
#include <string_view>

namespace ebook {

// The stored bytes between the title's tags, exactly as stored; nullopt when the page has no
// title element (or its closing tag comes first).
std::optional<std::string_view> TitleBytes(std::string_view page);

// The title as a reader sees it, in UTF-8: decoded in the page's encoding, character
// references decoded, runs of blanks and line breaks made one space, trimmed. "" when the page
// has no title.
std::string PageTitle(std::string_view page);

}  // namespace ebook
