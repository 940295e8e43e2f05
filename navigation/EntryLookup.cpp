#include "navigation/EntryLookup.h"

#include <algorithm>
#include <cctype>

#include "archive/BookContent.h"
#include "navigation/LinkCommand.h"
#include "text/CharacterReferences.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string FolderOf(std::string_view page) {
  const size_t slash = page.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(page.substr(0, slash + 1));
}

}  // namespace

std::optional<std::string> CollapsedPath(std::string_view path) {
  std::vector<std::string_view> segments;
  size_t begin = 0;
  for (;;) {
    const size_t slash = path.find('/', begin);
    const std::string_view segment =
        path.substr(begin, slash == std::string_view::npos ? std::string_view::npos : slash - begin);
    if (segment == "..") {
      if (segments.empty()) return std::nullopt;
      segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    if (slash == std::string_view::npos) break;
    begin = slash + 1;
  }
  std::string collapsed;
  for (size_t i = 0; i < segments.size(); ++i) {
    if (i) collapsed += '/';
    collapsed += segments[i];
  }
  // A name that ended in a folder keeps saying so.
  const bool folder = path.empty() || path.ends_with('/') || path.ends_with("/.") ||
                      path.ends_with("/..") || path == "." || path == "..";
  if (folder && !collapsed.empty()) collapsed += '/';
  return collapsed;
}

std::string PercentDecoded(std::string_view name) {
  std::string decoded;
  decoded.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '%' && i + 2 < name.size() && HexValue(name[i + 1]) >= 0 && HexValue(name[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(name[i + 1]) * 16 + HexValue(name[i + 2]));
      i += 2;
    } else {
      decoded += name[i];
    }
  }
  return decoded;
}

std::string SpaceEscapesDecoded(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, "%20") == 0) {
      decoded += ' ';
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

bool HasScheme(std::string_view address) {
  const size_t colon = address.find(':');
  if (colon == std::string_view::npos || colon > address.find_first_of("/?#")) return false;
  if (colon == 0 || !std::isalpha(static_cast<unsigned char>(address[0]))) return false;
  return std::all_of(
      address.begin(), address.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
      });
}

std::string LinkAddressInHtml(std::string_view attributeValue) {
  return DecodeCharacterReferences(TrimHtmlBlanks(attributeValue));
}

LinkedPage ResolveLinkedPage(std::string_view from, std::string_view address) {
  address = TrimHtmlBlanks(address);
  if (address.empty() || ParseLinkCommand(address) || address.starts_with("//") ||
      HasScheme(address))
    return {};
  const size_t tailAt = std::min(address.find_first_of("?#"), address.size());
  LinkedPage page;
  page.tail = std::string(address.substr(tailAt));
  if (tailAt == 0) {  // "#part" or "?query" of the page itself
    page.kind = LinkedPage::Kind::Page;
    page.path = std::string(from);
    page.samePage = true;
    return page;
  }
  const std::string_view written = address.substr(0, tailAt);
  const std::optional<std::string> path =
      CollapsedPath(written.front() == '/' ? std::string(written) : FolderOf(from) + std::string(written));
  if (!path) {
    page.kind = LinkedPage::Kind::AboveTop;
    page.tail.clear();
    return page;
  }
  page.kind = LinkedPage::Kind::Page;
  page.path = *path;
  return page;
}

std::vector<std::string> EntryNameCandidates(std::string_view requested) {
  std::vector<std::string> candidates;
  auto add = [&](std::string name) {
    if (std::find(candidates.begin(), candidates.end(), name) == candidates.end())
      candidates.push_back(std::move(name));
  };
  add(std::string(requested));
  std::string_view name = requested;
  name = name.substr(0, name.find('#'));
  add(std::string(name));
  name = name.substr(0, name.find('?'));
  add(std::string(name));
  const std::optional<std::string> collapsed = CollapsedPath(name);
  if (!collapsed) return candidates;
  add(*collapsed);
  const std::string decoded = PercentDecoded(*collapsed);
  add(decoded);
  if (decoded.empty() || decoded.ends_with('/')) {
    add(decoded + "index.html");
    add(decoded + "index.htm");
  }
  return candidates;
}

std::string ReducedEntryName(std::string_view requested) {
  std::string_view name = requested.substr(0, requested.find('#'));
  name = name.substr(0, name.find('?'));
  return CollapsedPath(name).value_or(std::string(name));
}

std::optional<std::string> ResolveEntryName(std::string_view requested,
                                            const std::function<bool(std::string_view)>& stored) {
  for (std::string& candidate : EntryNameCandidates(requested))
    if (stored(candidate)) return std::move(candidate);
  return std::nullopt;
}

std::optional<std::string> ResolveEntryName(const BookContent& book, std::string_view requested) {
  return ResolveEntryName(requested,
                          [&book](std::string_view name) { return book.HasEntry(name); });
}

}  // namespace ebook
