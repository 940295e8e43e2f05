#include "ContentsBook.h"

#include "contents/TocStream.h"
#include "contents/TocText.h"
#include "support/window/TestBook.h"
#include "viewer/window/MainWindow.h"

namespace ebook::test {

const QStringList kOrder = {"Cover",     "Part one", "Chapter 1", "Section",
                            "Chapter 2", "Appendix", "Again"};

std::string Stream(std::string_view text) { return WriteTocStream(ParseTocText(text)); }

void InstallContentsBook(const std::optional<std::string>& toc,
                         const std::map<size_t, char>& switches,
                         const std::vector<std::string>& extra) {
  std::vector<std::string> lines = {"[cSettings]", "DATA=" + Options(switches), "home=other.htm",
                                    "[PFiles]"};
  lines.insert(lines.end(), extra.begin(), extra.end());
  std::vector<BookEntry> entries{SettingsEntry(lines)};
  for (const char* page : {"cover", "ch1", "ch2", "appendix", "other"})
    entries.push_back({std::string(page) + ".htm", std::string("<title>") + page + "</title>"});
  if (toc) entries.push_back({"XTOC.QRLC", *toc});
  InstallBook(entries);
}

TTreeViewEx::Node* Find(TBB1& window, const QString& caption) {
  for (TTreeViewEx::Node* node : window.TOCtree->NodesInOrder())
    if (node->text(0) == caption) return node;
  return nullptr;
}

QString SelectedCaption(TBB1& window) {
  TTreeViewEx::Node* node = window.TOCtree->Selected();
  return node ? node->text(0) : QString();
}

}  // namespace ebook::test
