#include "contents/TocPage.h"

#include "contents/TocStream.h"

#include "navigation/EntryLookup.h"
#include "text/Ascii.h"

#include <functional>

namespace ebook {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string ComparablePageName(std::string_view page) {
  return UpperAscii(TrimControl(page));
}

std::string PageNameInFolderTarget(std::string_view target, std::string_view folderTarget,
                                   std::string_view folderAddress) {
  if (!folderTarget.empty() && target.starts_with(folderTarget))
    return std::string(target.substr(folderTarget.size()));

  // The folder's own name: the last segment of its address, without the trailing separator.
  std::string_view folder = folderAddress;
  while (!folder.empty() && IsSeparator(folder.back())) folder.remove_suffix(1);
  size_t start = folder.size();
  while (start > 0 && !IsSeparator(folder[start - 1])) --start;
  const std::string name = ComparablePageName(folder.substr(start));
  if (name.empty()) return std::string(target);
  for (size_t at = target.find(name); at != std::string_view::npos;
       at = target.find(name, at + 1)) {
    const size_t after = at + name.size();
    const bool wholeSegment = at == 0 || IsSeparator(target[at - 1]);
    if (wholeSegment && after < target.size() && IsSeparator(target[after]))
      return std::string(target.substr(after + 1));
  }
  return std::string(target);
}

std::optional<size_t> NodeNamingPage(const std::vector<std::string>& nodePages,
                                     std::string_view shown, std::optional<size_t> selected) {
  if (shown.empty()) return std::nullopt;
  // Ever looser ways of naming the page, each tried on every node before the next.
  std::vector<std::function<bool(const std::string&)>> levels;
  for (const std::string& candidate : EntryNameCandidates(shown)) {
    levels.push_back([wanted = ComparablePageName(candidate)](const std::string& node) {
      return node == wanted;
    });
  }
  levels.push_back([wanted = ReducedEntryName(shown)](const std::string& node) {
    return !node.empty() && ReducedEntryName(node) == wanted;
  });
  for (const auto& names : levels) {
    if (selected && *selected < nodePages.size() && names(nodePages[*selected])) return selected;
    std::optional<size_t> last;
    for (size_t node = 0; node < nodePages.size(); ++node)
      if (names(nodePages[node])) last = node;
    if (last) return last;
  }
  return std::nullopt;
}

}  // namespace ebook
