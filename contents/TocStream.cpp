#include "contents/TocStream.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace ebook {
namespace {

// Smallest possible record: seven integers and no caption or data.
constexpr size_t kMinRecordSize = 7 * 4;

class StreamReader {
 public:
  explicit StreamReader(std::string_view bytes) : bytes_(bytes) {}

  std::optional<int32_t> Int() {
    if (remaining() < 4) return std::nullopt;
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes_[pos_ + i]);
    pos_ += 4;
    return static_cast<int32_t>(value);
  }

  // `length` bytes, or nothing for a length of 0 or less; nullopt when fewer remain.
  std::optional<std::string> Bytes(int32_t length) {
    if (length <= 0) return std::string();
    if (static_cast<size_t>(length) > remaining()) return std::nullopt;
    std::string out(bytes_.substr(pos_, static_cast<size_t>(length)));
    pos_ += static_cast<size_t>(length);
    return out;
  }

  size_t remaining() const { return bytes_.size() - pos_; }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

std::optional<TocNode> ReadRecord(StreamReader& in, int32_t& childCount) {
  TocNode node;
  auto captionLength = in.Int();
  if (!captionLength) return std::nullopt;
  auto caption = in.Bytes(*captionLength);
  auto level = in.Int();
  auto image = in.Int();
  auto state = in.Int();
  auto selected = in.Int();
  if (!caption || !level || !image || !state || !selected) return std::nullopt;
  auto dataSize = in.Int();
  if (!dataSize) return std::nullopt;
  auto data = in.Bytes(*dataSize);
  auto children = in.Int();
  if (!data || !children) return std::nullopt;
  node.caption = std::move(*caption);
  node.level = *level;
  node.imageIndex = *image;
  node.stateIndex = *state;
  node.selectedIndex = *selected;
  node.data = std::move(*data);
  childCount = std::max(*children, 0);
  return node;
}

void AppendInt(std::string& out, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

}  // namespace

TocTree ReadTocStream(std::string_view stream) {
  TocTree tree;
  StreamReader in(stream);
  auto topCount = in.Int();
  if (!topCount) {
    tree.damaged = !stream.empty();
    return tree;
  }

  // Each frame: the node whose child records are being read (-1 for the top level) and how
  // many records of it are still to come. An explicit stack keeps any depth off the call stack.
  struct Frame {
    int owner;
    int32_t pending;
  };
  std::vector<Frame> stack{{-1, std::max(*topCount, 0)}};
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.pending == 0) {
      stack.pop_back();
      continue;
    }
    --frame.pending;
    // A count that more records than the remaining bytes could hold is damage.
    if (static_cast<size_t>(frame.pending) > in.remaining() / kMinRecordSize) {
      tree.damaged = true;
      frame.pending = static_cast<int32_t>(in.remaining() / kMinRecordSize);
    }
    int32_t childCount = 0;
    auto record = ReadRecord(in, childCount);
    if (!record) {
      tree.damaged = true;
      break;
    }
    const int owner = frame.owner;
    const int index = static_cast<int>(tree.nodes.size());
    if (owner >= 0 && record->level > 0) {
      record->parent = owner;
      tree.nodes[owner].children.push_back(index);
    } else {
      tree.roots.push_back(index);
    }
    tree.nodes.push_back(std::move(*record));
    stack.push_back({index, childCount});  // `frame` is invalid from here on
  }
  if (in.remaining() > 0) tree.damaged = true;
  return tree;
}

int TocTree::NextInOrder(int node) const {
  if (node < 0 || node >= static_cast<int>(nodes.size())) return First();
  if (!nodes[node].children.empty()) return nodes[node].children.front();
  // Climb until a following sibling exists.
  for (int current = node; current >= 0; current = nodes[current].parent) {
    const int parent = nodes[current].parent;
    const std::vector<int>& siblings = parent >= 0 ? nodes[parent].children : roots;
    auto it = std::find(siblings.begin(), siblings.end(), current);
    if (it != siblings.end() && it + 1 != siblings.end()) return *(it + 1);
  }
  return -1;
}

int TocTree::PreviousInOrder(int node) const {
  if (node < 0 || node >= static_cast<int>(nodes.size())) return Last();
  const int parent = nodes[node].parent;
  const std::vector<int>& siblings = parent >= 0 ? nodes[parent].children : roots;
  auto it = std::find(siblings.begin(), siblings.end(), node);
  if (it == siblings.begin() || it == siblings.end()) return parent;
  int previous = *(it - 1);
  while (!nodes[previous].children.empty()) previous = nodes[previous].children.back();
  return previous;
}

int TocTree::Last() const {
  if (roots.empty()) return -1;
  int last = roots.back();
  while (!nodes[last].children.empty()) last = nodes[last].children.back();
  return last;
}

std::string TocPageName(std::string_view data) {
  // The viewer shows no page for a node whose block is absent or short, so nothing reads a
  // page name from a partial block.
  if (data.size() < static_cast<size_t>(kTocNodeDataSize)) return {};
  const size_t length = static_cast<uint8_t>(data[kTocPageNameOffset]);
  return std::string(data.substr(kTocPageNameOffset + 1, length));
}

std::string MakeTocNodeData(std::string_view page) {
  std::string data(kTocNodeDataSize, '\0');
  const size_t length = std::min<size_t>(page.size(), 255);
  data[kTocPageNameOffset] = static_cast<char>(length);
  page.copy(data.data() + kTocPageNameOffset + 1, length);
  return data;
}

std::string WriteTocStream(const TocTree& tree) {
  std::string out;
  AppendInt(out, static_cast<int32_t>(tree.roots.size()));
  // Depth-first, each record before its children; an explicit stack of (node, depth).
  std::vector<std::pair<int, int32_t>> stack;
  for (auto it = tree.roots.rbegin(); it != tree.roots.rend(); ++it) stack.push_back({*it, 0});
  while (!stack.empty()) {
    auto [index, depth] = stack.back();
    stack.pop_back();
    const TocNode& node = tree.nodes[index];
    AppendInt(out, static_cast<int32_t>(node.caption.size()));
    out += node.caption;
    AppendInt(out, depth);
    AppendInt(out, node.imageIndex);
    AppendInt(out, node.stateIndex);
    AppendInt(out, node.selectedIndex);
    AppendInt(out, static_cast<int32_t>(node.data.size()));
    out += node.data;
    AppendInt(out, static_cast<int32_t>(node.children.size()));
    for (auto it = node.children.rbegin(); it != node.children.rend(); ++it)
      stack.push_back({*it, depth + 1});
  }
  return out;
}

void AppendTocNode(TocTree& tree, std::vector<int>& path, size_t depth, std::string caption,
                   std::string_view page) {
  TocNode node;
  node.caption = std::move(caption);
  node.level = static_cast<int32_t>(depth);
  node.data = MakeTocNodeData(page);
  const int index = static_cast<int>(tree.nodes.size());
  path.resize(depth);
  if (depth == 0) {
    tree.roots.push_back(index);
  } else {
    node.parent = path.back();
    tree.nodes[static_cast<size_t>(node.parent)].children.push_back(index);
  }
  tree.nodes.push_back(std::move(node));
  path.push_back(index);
}

}  // namespace ebook
