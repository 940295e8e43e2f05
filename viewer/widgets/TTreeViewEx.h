#pragma once
// TTreeViewEx: a tree control whose nodes may each own one raw data block, filled from a node
// stream (the format of contents/TocStream.h) and able to write one back.
//
// Like the platform tree view it stands in for, every node carries an image index, a state
// index and a selected index; a node's picture is asked for each time the node is drawn
// (OnGetImageIndex, then OnGetSelectedIndex), so an owner can override the stored indexes.
// OnChange follows the selection, whether the reader or the program changes it.
//
// Trees of any depth are built, walked and torn down without recursion: a damaged or hostile
// stream may nest a million levels deep.

#include <QIcon>
#include <QList>
#include <QTreeWidget>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ebook {

class TTreeViewEx : public QTreeWidget {
  Q_OBJECT
 public:
  class Node : public QTreeWidgetItem {
   public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;
    Node() : QTreeWidgetItem(kType) {}

    int ImageIndex = 0;
    int StateIndex = -1;
    int SelectedIndex = 0;
    std::string Data;  // the node's data block, owned; empty when it has none

    Node* Parent() const { return static_cast<Node*>(parent()); }
    Node* Child(int index) const { return static_cast<Node*>(child(index)); }
  };

  explicit TTreeViewEx(QWidget* parent = nullptr);
  ~TTreeViewEx() override;

  // Replaces all nodes by those of a node stream; whatever precedes damage is kept.
  void LoadNodesFromStream(std::string_view stream);
  // The nodes as a node stream; each node's block is as long as OnRequestDataSize says.
  std::string SaveNodesToStream();
  // Removes all nodes.
  void ClearNodes();

  void SetImages(QList<QIcon> images) { images_ = std::move(images); }
  const QList<QIcon>& Images() const { return images_; }

  int NodeCount() const { return static_cast<int>(nodes_.size()); }
  // The selected node, nullptr when none.
  Node* Selected() const;
  // Selects `node`, expanding its ancestors so that it can be seen. Selecting the node that is
  // already selected changes nothing.
  void Select(Node* node);

  // Depth-first order, each node before its children, regardless of expansion.
  Node* FirstNode() const { return static_cast<Node*>(topLevelItem(0)); }
  Node* LastNode() const;
  Node* NextInOrder(Node* node) const;
  Node* PreviousInOrder(Node* node) const;
  // Every node in depth-first order.
  std::vector<Node*> NodesInOrder() const;

  // The picture index drawn for `node`, after the owner has had its say.
  int PictureIndex(Node* node, bool selected);

 signals:
  void OnRequestDataSize(ebook::TTreeViewEx::Node* node, int32_t* size);
  void OnNodeLoaded(ebook::TTreeViewEx::Node* node);
  void OnGetImageIndex(ebook::TTreeViewEx::Node* node);
  void OnGetSelectedIndex(ebook::TTreeViewEx::Node* node);
  void OnChange(ebook::TTreeViewEx::Node* node);

 private:
  Node* SiblingAfter(Node* node) const;
  Node* SiblingBefore(Node* node) const;

  std::vector<Node*> nodes_;  // in the order they were loaded: parents before children
  QList<QIcon> images_;
};

}  // namespace ebook
