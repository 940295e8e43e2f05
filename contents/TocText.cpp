#include "contents/TocText.h"

#include <vector>

namespace ebook {

TocTree ParseTocText(std::string_view text) {
  TocTree tree;
  std::vector<int> path;  // the last node at each depth
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos) continue;

    const size_t indent = line.find_first_not_of(' ');
    if (indent % 2 != 0) throw TocTextError(lineNumber, "indentation is not a multiple of two spaces");
    const size_t depth = indent / 2;
    if (depth > path.size())
      throw TocTextError(lineNumber, "indented more than one level below the line before");
    line.remove_prefix(indent);
    const size_t tab = line.find('\t');
    std::string_view caption = line.substr(0, tab);
    std::string_view page = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
    if (caption.empty()) throw TocTextError(lineNumber, "the caption is empty");
    if (page.size() > 255) throw TocTextError(lineNumber, "the page name is longer than 255 bytes");

    AppendTocNode(tree, path, depth, std::string(caption), page);
  }
  return tree;
}

std::string FormatTocText(const TocTree& tree, size_t* leftOut) {
  std::string out;
  size_t deeper = 0;
  std::vector<std::pair<int, size_t>> stack;
  for (auto it = tree.roots.rbegin(); it != tree.roots.rend(); ++it) stack.push_back({*it, 0});
  while (!stack.empty()) {
    auto [index, depth] = stack.back();
    stack.pop_back();
    const TocNode& node = tree.nodes[index];
    if (depth >= kMaxTocTextDepth) {
      ++deeper;
      for (const int child : node.children) stack.push_back({child, depth + 1});
      continue;
    }
    out.append(2 * depth, ' ').append(node.caption).append("\t").append(TocPageName(node.data));
    out.push_back('\n');
    for (auto it = node.children.rbegin(); it != node.children.rend(); ++it)
      stack.push_back({*it, depth + 1});
  }
  if (leftOut) *leftOut = deeper;
  return out;
}

}  // namespace ebook
