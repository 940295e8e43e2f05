#pragma once
// The table of contents as the archive stores it (entry XTOC.QRLC): the tree control's node
// stream. Every integer is 32 bits, signed, little-endian.
//
//   stream := count(top-level records) record*
//   record := captionLength caption level imageIndex stateIndex selectedIndex
//             dataSize data childCount record*        -- the children follow their parent
//
// A caption length or data size of 0 or less means no bytes follow. A record's node becomes the
// last child of the record it belongs to when its level is above 0, otherwise the last
// top-level node. For contents nodes the data block is a 512-byte TocNodeData record whose byte
// 256 holds the page name's length and bytes 257... the page name.
//
// The reader takes whatever precedes damage: a truncated stream, a size or count beyond what
// remains, any nesting depth (no recursion) all end the loading with the nodes read so far.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archive/InternalEntries.h"

namespace ebook {

inline constexpr int32_t kTocNodeDataSize = 512;
inline constexpr size_t kTocPageNameOffset = 256;

struct TocNode {
  std::string caption;
  int32_t level = 0;
  int32_t imageIndex = 0;
  int32_t stateIndex = -1;
  int32_t selectedIndex = 0;
  std::string data;           // the raw data block, possibly empty or short
  int parent = -1;            // index into TocTree::nodes, -1 for a top-level node
  std::vector<int> children;  // indices into TocTree::nodes, in order
};

// A flat tree: nodes in stream order, so parents always precede their children.
struct TocTree {
  std::vector<TocNode> nodes;
  std::vector<int> roots;
  bool damaged = false;  // the stream ended early or held an impossible size or count

  // Index of the node after `node` in depth-first order, -1 after the last.
  int NextInOrder(int node) const;
  // Index of the node before `node` in depth-first order, -1 before the first.
  int PreviousInOrder(int node) const;
  // First node in depth-first order, -1 for an empty tree; last likewise.
  int First() const { return roots.empty() ? -1 : roots.front(); }
  int Last() const;
};

TocTree ReadTocStream(std::string_view stream);

// The page name a node's data block holds (bytes 257.., length at 256); empty unless `data`
// is a complete 512-byte TocNodeData block (a node with an absent or short block shows no
// page). Bytes after the block are ignored. Not trimmed.
std::string TocPageName(std::string_view data);

// A 512-byte TocNodeData block naming `page` (at most 255 bytes are kept).
std::string MakeTocNodeData(std::string_view page);

// Adds a node for `page` captioned `caption` at `depth` under the nodes of `path` (the indexes
// of the last node added at each depth, which it keeps up to date): a top-level node at depth 0,
// else a child of the last node one level up. `depth` must not exceed path.size().
void AppendTocNode(TocTree& tree, std::vector<int>& path, size_t depth, std::string caption,
                   std::string_view page);

// The node stream of `tree`: levels are written as each node's depth (0 for top-level nodes).
std::string WriteTocStream(const TocTree& tree);

}  // namespace ebook
