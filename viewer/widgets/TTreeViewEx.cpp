#include "viewer/widgets/TTreeViewEx.h"

#include <QStyledItemDelegate>
#include <unordered_map>

#include "contents/TocStream.h"
#include "viewer/widgets/AnsiText.h"
#include "viewer/widgets/PictureIcon.h"

namespace ebook {
namespace {

// Draws each node with the picture its tree chooses at that moment.
class NodePictureDelegate : public QStyledItemDelegate {
 public:
  explicit NodePictureDelegate(TTreeViewEx* tree) : QStyledItemDelegate(tree), tree_(tree) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    auto* node = dynamic_cast<TTreeViewEx::Node*>(tree_->itemFromIndex(index));
    if (!node) return;
    const int picture = tree_->PictureIndex(node, option->state & QStyle::State_Selected);
    if (picture < 0 || picture >= tree_->Images().size()) return;
    option->icon = tree_->Images()[picture];
    option->decorationSize = PictureSize(option->icon);
    option->features |= QStyleOptionViewItem::HasDecoration;
  }

 private:
  TTreeViewEx* tree_;
};

}  // namespace

TTreeViewEx::TTreeViewEx(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(16, 16));
  setItemDelegate(new NodePictureDelegate(this));
  connect(this, &QTreeWidget::itemSelectionChanged, this, [this] { emit OnChange(Selected()); });
}

TTreeViewEx::~TTreeViewEx() {
  // The base class would free the items recursively, one stack frame per level.
  ClearNodes();
}

void TTreeViewEx::ClearNodes() {
  // Take the top-level nodes out of the view in one sweep, then free the detached nodes
  // children first: in reverse loading order every node is a leaf and its parent's last child
  // by the time it is reached, so no deletion recurses and none searches a sibling list.
  {
    const QSignalBlocker blocker(this);
    clearSelection();
    setCurrentItem(nullptr);
  }
  while (topLevelItemCount() > 0) takeTopLevelItem(topLevelItemCount() - 1);
  for (auto it = nodes_.rbegin(); it != nodes_.rend(); ++it) {
    Node* node = *it;
    if (QTreeWidgetItem* parent = node->parent()) parent->takeChild(parent->childCount() - 1);
    delete node;
  }
  nodes_.clear();
}

void TTreeViewEx::LoadNodesFromStream(std::string_view stream) {
  ClearNodes();
  TocTree tree = ReadTocStream(stream);
  nodes_.reserve(tree.nodes.size());
  // The stream's records in order: every parent exists before its children, and a record's
  // node is appended after the nodes created before it, as the level rule asks.
  for (TocNode& record : tree.nodes) {
    auto* node = new Node;
    node->setText(0, FromBookText(record.caption));
    node->ImageIndex = record.imageIndex;
    node->StateIndex = record.stateIndex;
    node->SelectedIndex = record.selectedIndex;
    node->Data = std::move(record.data);
    if (record.parent >= 0) {
      nodes_[static_cast<size_t>(record.parent)]->addChild(node);
    } else {
      addTopLevelItem(node);
    }
    nodes_.push_back(node);
    emit OnNodeLoaded(node);
  }
}

std::string TTreeViewEx::SaveNodesToStream() {
  TocTree tree;
  const std::vector<Node*> order = NodesInOrder();
  std::unordered_map<const QTreeWidgetItem*, int> index;
  index.reserve(order.size());
  for (Node* node : order) {
    TocNode record;
    record.caption = ToBookText(node->text(0));
    record.imageIndex = node->ImageIndex;
    record.stateIndex = node->StateIndex;
    record.selectedIndex = node->SelectedIndex;
    int32_t size = static_cast<int32_t>(node->Data.size());
    emit OnRequestDataSize(node, &size);
    if (size > 0) {
      record.data = node->Data;
      record.data.resize(static_cast<size_t>(size), '\0');
    }
    const int self = static_cast<int>(tree.nodes.size());
    if (QTreeWidgetItem* parent = node->parent()) {
      record.parent = index.at(parent);
      tree.nodes[static_cast<size_t>(record.parent)].children.push_back(self);
    } else {
      tree.roots.push_back(self);
    }
    index.emplace(node, self);
    tree.nodes.push_back(std::move(record));
  }
  return WriteTocStream(tree);
}

TTreeViewEx::Node* TTreeViewEx::Selected() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? nullptr : static_cast<Node*>(selected.front());
}

void TTreeViewEx::Select(Node* node) {
  if (!node) return;
  for (QTreeWidgetItem* ancestor = node->parent(); ancestor; ancestor = ancestor->parent())
    ancestor->setExpanded(true);
  setCurrentItem(node);
}

TTreeViewEx::Node* TTreeViewEx::SiblingAfter(Node* node) const {
  QTreeWidgetItem* parent = node->parent();
  const int at = parent ? parent->indexOfChild(node) : indexOfTopLevelItem(node);
  return static_cast<Node*>(parent ? parent->child(at + 1) : topLevelItem(at + 1));
}

TTreeViewEx::Node* TTreeViewEx::SiblingBefore(Node* node) const {
  QTreeWidgetItem* parent = node->parent();
  const int at = parent ? parent->indexOfChild(node) : indexOfTopLevelItem(node);
  if (at <= 0) return nullptr;
  return static_cast<Node*>(parent ? parent->child(at - 1) : topLevelItem(at - 1));
}

TTreeViewEx::Node* TTreeViewEx::LastNode() const {
  auto* last = static_cast<Node*>(topLevelItem(topLevelItemCount() - 1));
  while (last && last->childCount() > 0) last = last->Child(last->childCount() - 1);
  return last;
}

TTreeViewEx::Node* TTreeViewEx::NextInOrder(Node* node) const {
  if (node->childCount() > 0) return node->Child(0);
  for (Node* current = node; current; current = current->Parent())
    if (Node* next = SiblingAfter(current)) return next;
  return nullptr;
}

TTreeViewEx::Node* TTreeViewEx::PreviousInOrder(Node* node) const {
  Node* previous = SiblingBefore(node);
  if (!previous) return node->Parent();
  while (previous->childCount() > 0) previous = previous->Child(previous->childCount() - 1);
  return previous;
}

std::vector<TTreeViewEx::Node*> TTreeViewEx::NodesInOrder() const {
  std::vector<Node*> order;
  order.reserve(nodes_.size());
  std::vector<Node*> stack;
  for (int i = topLevelItemCount() - 1; i >= 0; --i)
    stack.push_back(static_cast<Node*>(topLevelItem(i)));
  while (!stack.empty()) {
    Node* node = stack.back();
    stack.pop_back();
    order.push_back(node);
    for (int i = node->childCount() - 1; i >= 0; --i) stack.push_back(node->Child(i));
  }
  return order;
}

int TTreeViewEx::PictureIndex(Node* node, bool selected) {
  emit OnGetImageIndex(node);
  emit OnGetSelectedIndex(node);
  return selected ? node->SelectedIndex : node->ImageIndex;
}

}  // namespace ebook
