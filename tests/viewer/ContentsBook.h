#pragma once
// The contents book the contents tests share: pages cover, ch1, ch2, appendix and other, each
// titled with its name, and the contents below.

#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/widgets/TTreeViewEx.h"

namespace ebook {
class TBB1;
}

namespace ebook::test {

// "Part one" has no page; "Again" names the page of "Chapter 1" a second time.
inline constexpr char kContents[] =
    "Cover\tcover.htm\n"
    "Part one\n"
    "  Chapter 1\tch1.htm\n"
    "    Section\tch1.htm#s\n"
    "  Chapter 2\t ch2.htm \n"
    "Appendix\tappendix.htm\n"
    "  Again\tch1.htm\n";

// The captions of kContents in depth-first order.
extern const QStringList kOrder;

// The node stream of contents written as text.
std::string Stream(std::string_view text);

// Makes the contents book the test's book, with the node stream `toc` (none when empty), the
// option switches set and `extra` lines in its [PFiles] section; the start page is other.htm.
void InstallContentsBook(const std::optional<std::string>& toc,
                         const std::map<size_t, char>& switches = {},
                         const std::vector<std::string>& extra = {"UseTOC=1"});

// The window's first contents node with `caption`; null when there is none.
TTreeViewEx::Node* Find(TBB1& window, const QString& caption);
// The caption of the selected contents node; empty when none is selected.
QString SelectedCaption(TBB1& window);

}  // namespace ebook::test
