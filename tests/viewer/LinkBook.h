#pragma once
// The link book the navigation and link command tests share: start.htm links to one address
// (also from a frame, frame.htm), and other.htm; and the ways a page reaches an address.

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace ebook {
class TBB1;
}

namespace ebook::test {

inline const QString kStart = QStringLiteral("ebook://book/start.htm");
inline const QString kOther = QStringLiteral("ebook://book/other.htm");

// How a page reaches an address.
enum class Way { Link, FragmentLink, Script, FrameLink, FrameScript };

// Makes the link book the test's book: its start page links to `href` (also from a frame) and
// to other.htm; `options` is its option string, `extra` more settings lines.
void InstallLinkBook(const std::string& options, const std::string& href,
                     std::vector<std::string> extra = {});

// Makes the start page (or its frame) reach `href` the `way` given.
void Trigger(TBB1& window, Way way, const QString& href);

// Waits until the frame of the start page has loaded too.
void WaitForFrame(TBB1& window);

// Shows "END" through a fragment assignment and waits for it: every command triggered
// before has been handled by then, in order.
void Fence(TBB1& window);

// The texts of the messages recorded so far.
QStringList MessageTexts();

// The address of the page shown, as its script sees it.
QString PageAddress(TBB1& window);

// While it lives, counts the print previews the windows open and the pages of the last one;
// each preview is closed once it has pages.
class PreviewWatch {
 public:
  PreviewWatch();
  ~PreviewWatch();
  PreviewWatch(const PreviewWatch&) = delete;
  PreviewWatch& operator=(const PreviewWatch&) = delete;

  void Reset() {
    previews = 0;
    pages = -1;
  }

  int previews = 0;
  int pages = -1;
};

}  // namespace ebook::test
