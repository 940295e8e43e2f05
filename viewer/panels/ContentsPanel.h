#pragma once
// ContentsPanel, the window's TocPanel: the table of contents at the side of the window. It
// owns its title TocLabel, its close button (the window's SpeedButton[11]), the tree TOCtree
// and its pictures ImagesVST2; it steps through the contents in depth-first order (listaNext,
// listaBack, listaSync) and follows the page shown (followShownPage).
//
// Every selection change of TOCtree, by the reader or by the program, runs TOCtreeChange and
// so opens the node's page at once; one call of listaSync, listaNext or listaBack may therefore
// start several navigations in a row, and the last one wins.
//
// The panel knows the window only through its Host: the book's base address and mode, the page
// shown (the window's TocTarget) and how a page is opened.

#include <QIcon>
#include <QList>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "viewer/widgets/TTreeViewEx.h"

class QLabel;
class QToolButton;

namespace ebook {

class ContentsPanel : public QWidget {
  Q_OBJECT
 public:
  // What the panel asks of its window.
  struct Host {
    std::function<QString()> bookBaseUrl;  // the address pages are named under
    std::function<bool()> protocolMode;    // false: temp-folder mode
    // The target of the page shown as the navigation handler recorded it (TocTarget).
    std::function<std::string()> shownTarget;
    // Records `page` (a node's page name, as stored) as the page shown and navigates to it.
    std::function<void(const std::string& page)> openPage;
    // The first document has loaded: from then on a selection gives the tree the keyboard.
    std::function<bool()> firstDocumentDone;
  };

  ContentsPanel(Host host, QWidget* parent);

  // Controls, named as in the window's layout; created by the constructor, owned by the panel.
  QLabel* TocLabel = nullptr;
  QToolButton* SpeedButton11 = nullptr;  // close
  TTreeViewEx* TOCtree = nullptr;
  QList<QIcon> ImagesVST2;  // TOCtree's pictures: closed book, open book, page

  void listaNext();
  void listaBack();
  void listaSync();
  // Selects the first node, which shows its page; nothing without contents.
  void selectFirstNode();
  // Selects the contents node of the page now shown at `URL`, without navigating again.
  void followShownPage(const QString& URL);

  // TOCtree's events.
  void TOCtreeChange(TTreeViewEx::Node* node);
  void TOCtreeGetImageIndex(TTreeViewEx::Node* node);
  void TOCtreeGetSelectedIndex(TTreeViewEx::Node* node);
  void TOCtreeRequestDataSize(TTreeViewEx::Node* node, int32_t* size);

 private:
  // The name of the page shown, from the recorded target, in the form nodes are compared in.
  std::string shownPage() const;
  // The same for a page target recorded from an address (PageTargetOf).
  std::string pageOfTarget(const std::string& target) const;

  Host host_;
  bool followingPage_ = false;      // a selection change made by followShownPage: no navigation
  std::string pageAtTocSelection_;  // the page shown when the contents node was selected
};

}  // namespace ebook
