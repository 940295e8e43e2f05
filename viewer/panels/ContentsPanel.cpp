#include "viewer/panels/ContentsPanel.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>
#include <utility>
#include <vector>

#include "archive/InternalEntries.h"
#include "contents/TocPage.h"
#include "contents/TocStream.h"
#include "navigation/LinkCommand.h"
#include "protocol/BookScheme.h"
#include "text/Ascii.h"
#include "viewer/browser/BookAddress.h"
#include "viewer/panels/PanelCaption.h"
#include "viewer/widgets/AnsiText.h"
#include "viewer/widgets/PictureIcon.h"

namespace ebook {
namespace {

using Node = TTreeViewEx::Node;

// The node pictures, 16 x 16, drawn rather than shipped: 0 a closed book, 1 an open book,
// 2 a page with lines of text. One-pixel strokes run through pixel centres (n + 0.5), so they
// cover whole device pixels at every pixel ratio.
QIcon Picture(std::function<void(QPainter&)> draw) {
  return DrawnIcon(QSize(16, 16), [draw = std::move(draw)](QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
  });
}

QIcon ClosedBook() {
  return Picture([](QPainter& p) {
    p.setPen(QColor(0x20, 0x30, 0x70));
    p.setBrush(QColor(0x40, 0x60, 0xC0));
    p.drawRect(QRectF(3.5, 1.5, 10, 13));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 12.5, 9, 2));                // the pages' edge
    p.drawLine(QPointF(5.5, 2.5), QPointF(5.5, 11.5));  // the spine
    p.fillRect(7, 4, 5, 2, QColor(0xF0, 0xD0, 0x60));   // the title plate
  });
}

QIcon OpenBook() {
  return Picture([](QPainter& p) {
    p.setPen(QColor(0x20, 0x30, 0x70));
    p.setBrush(QColor(0x40, 0x60, 0xC0));
    p.drawRect(QRectF(0.5, 11.5, 15, 3));  // the cover under the pages
    p.setBrush(Qt::white);
    QPainterPath left;
    left.moveTo(8, 4);
    left.lineTo(1.5, 2.5);
    left.lineTo(1.5, 12.5);
    left.lineTo(8, 13.5);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(8, 4);
    right.lineTo(14.5, 2.5);
    right.lineTo(14.5, 12.5);
    right.lineTo(8, 13.5);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QColor(0x90, 0x90, 0x90));
    for (int y = 6; y <= 10; y += 2) {
      p.drawLine(QPointF(3, y - 0.5), QPointF(6.5, y + 0.5));
      p.drawLine(QPointF(9.5, y + 0.5), QPointF(13, y - 0.5));
    }
  });
}

QIcon PageOfText() {
  return Picture([](QPainter& p) {
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 10, 14));
    p.setPen(QColor(0x30, 0x50, 0xA0));
    for (double y = 4.5; y <= 12.5; y += 2)
      p.drawLine(QPointF(5.5, y), QPointF(y == 12.5 ? 8.5 : 11.5, y));
  });
}

std::string PageOf(const Node* node) { return TocPageName(node->Data); }

}  // namespace

ContentsPanel::ContentsPanel(Host host, QWidget* parent) : QWidget(parent), host_(std::move(host)) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  TocLabel = BoldLabel(QStringLiteral("Table of Contents"), this);
  SpeedButton11 = CloseButton(this);
  SpeedButton11->setToolTip(QStringLiteral("Close"));
  column->addLayout(CaptionRow(TocLabel, SpeedButton11));
  column->addWidget(Bevel(this));
  // The pictures come from ImagesVST2; the handlers override the indexes the stream stores.
  ImagesVST2 = {ClosedBook(), OpenBook(), PageOfText()};
  TOCtree = new TTreeViewEx(this);
  TOCtree->setIndentation(19);
  TOCtree->SetImages(ImagesVST2);
  connect(TOCtree, &TTreeViewEx::OnChange, this, &ContentsPanel::TOCtreeChange);
  connect(TOCtree, &TTreeViewEx::OnGetImageIndex, this, &ContentsPanel::TOCtreeGetImageIndex);
  connect(TOCtree, &TTreeViewEx::OnGetSelectedIndex, this,
          &ContentsPanel::TOCtreeGetSelectedIndex);
  connect(TOCtree, &TTreeViewEx::OnRequestDataSize, this, &ContentsPanel::TOCtreeRequestDataSize);
  column->addWidget(TOCtree, 1);
  hide();
}

void ContentsPanel::TOCtreeChange(Node* /*node: the selection is what counts*/) {
  Node* selected = TOCtree->Selected();
  // The contents following the page shown: that page is already there.
  if (followingPage_) {
    pageAtTocSelection_ = ComparablePageName(shownPage());
    return;
  }
  if (selected) {
    const std::string page = PageOf(selected);
    if (!page.empty()) host_.openPage(page);
  }
  pageAtTocSelection_ = ComparablePageName(shownPage());
  // The window is this panel's top-level widget.
  if (host_.firstDocumentDone() && isVisibleTo(window())) TOCtree->setFocus(Qt::OtherFocusReason);
}

void ContentsPanel::TOCtreeGetImageIndex(Node* node) {
  node->ImageIndex = node->parent() ? 2 : node->isExpanded() ? 1 : 0;
}

// A selected node looks the same as when it is not selected.
void ContentsPanel::TOCtreeGetSelectedIndex(Node* node) { node->SelectedIndex = node->ImageIndex; }

void ContentsPanel::TOCtreeRequestDataSize(Node* /*node*/, int32_t* size) {
  *size = kTocNodeDataSize;
}

std::string ContentsPanel::shownPage() const { return pageOfTarget(host_.shownTarget()); }

std::string ContentsPanel::pageOfTarget(const std::string& target) const {
  if (host_.protocolMode()) return target;
  // Temp-folder mode: the recorded target still carries the tail of the file address. The
  // book folder's own address, recorded the same way, is cut off.
  const std::string folderAddress = ToAnsi(host_.bookBaseUrl());
  const std::string folderTarget =
      PageTargetOf(folderAddress, static_cast<size_t>(ProtocolBaseUrl().size()));
  return PageNameInFolderTarget(target, folderTarget, folderAddress);
}

void ContentsPanel::followShownPage(const QString& URL) {
  if (TOCtree->topLevelItemCount() == 0 || !IsBookAddress(URL, host_.bookBaseUrl())) return;
  const std::vector<Node*> nodes = TOCtree->NodesInOrder();
  std::vector<std::string> pages;
  pages.reserve(nodes.size());
  std::optional<size_t> selected;
  for (size_t i = 0; i < nodes.size(); ++i) {
    pages.push_back(ComparablePageName(PageOf(nodes[i])));
    if (nodes[i] == TOCtree->Selected()) selected = i;
  }
  const std::string target = PageTargetOf(ToAnsi(URL), static_cast<size_t>(ProtocolBaseUrl().size()));
  const std::optional<size_t> node = NodeNamingPage(pages, ComparablePageName(pageOfTarget(target)), selected);
  if (!node || node == selected) return;
  followingPage_ = true;
  TOCtree->Select(nodes[*node]);
  TOCtree->scrollToItem(nodes[*node]);
  followingPage_ = false;
}

void ContentsPanel::listaSync() {
  try {
    Node* selected = TOCtree->Selected();
    if (!selected) return;
    const std::string shown = shownPage();
    const std::string selectedPage = ComparablePageName(PageOf(selected));
    if (shown == selectedPage) return;
    // A node without a page goes with the page that was shown when it was selected; stepping
    // on from it must not fall back to the node of that page.
    if (selectedPage.empty() && ComparablePageName(shown) == pageAtTocSelection_) return;
    // Every node naming the page is selected in turn: the last of them in depth-first order
    // stays selected.
    for (Node* node : TOCtree->NodesInOrder())
      if (ComparablePageName(PageOf(node)) == shown) TOCtree->Select(node);
  } catch (...) {
    // The selections made so far stay; nothing is reported.
  }
}

void ContentsPanel::listaNext() {
  if (TOCtree->topLevelItemCount() == 0) return;
  listaSync();
  if (!TOCtree->Selected()) TOCtree->Select(TOCtree->FirstNode());
  Node* next = TOCtree->NextInOrder(TOCtree->Selected());
  TOCtree->Select(next ? next : TOCtree->FirstNode());
}

void ContentsPanel::listaBack() {
  if (TOCtree->topLevelItemCount() == 0) return;
  listaSync();
  if (!TOCtree->Selected()) TOCtree->Select(TOCtree->FirstNode());
  Node* previous = TOCtree->PreviousInOrder(TOCtree->Selected());
  TOCtree->Select(previous ? previous : TOCtree->LastNode());
}

void ContentsPanel::selectFirstNode() {
  // With no contents there is no first node, and nothing is shown.
  if (Node* first = TOCtree->FirstNode()) TOCtree->Select(first);
}

}  // namespace ebook
