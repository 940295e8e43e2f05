#include "AutoToc.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <unordered_map>

#include "text/HtmlTags.h"
#include "SettingsMaker.h"
#include "archive/BookImage.h"
#include "navigation/EntryLookup.h"
#include "navigation/LinkCommand.h"
#include "text/BookText.h"
#include "text/PageEncoding.h"
#include "text/PageTitle.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

constexpr size_t kMaxPageName = 255;  // what a contents node can hold

struct ListLink {
  int depth;  // lists open around it, 1 for the outermost
  std::string page;
  std::string caption;  // UTF-8
};

// The page as UTF-8, for captions.
std::string PageUtf8(std::string_view bytes) {
  return PageToUtf8(bytes, DetectPageEncoding(bytes));
}

// Looks pages up the way the viewer serves them.
class StoredPages {
 public:
  explicit StoredPages(const std::vector<PackEntry>& files) {
    for (const PackEntry& file : files) names_.insert(UpperAscii(file.name));
  }
  bool Has(std::string_view page) const {
    return ResolveEntryName(
               UpperAscii(page),
               [this](std::string_view name) { return names_.count(UpperAscii(name)) > 0; })
        .has_value();
  }

 private:
  std::set<std::string> names_;
};

// Where the link whose text begins at `from` ends: its "</a", or the text's end.
size_t EndOfLink(std::string_view utf8, size_t from) {
  for (size_t at = utf8.find("</", from); at != std::string_view::npos;
       at = utf8.find("</", at + 2))
    if (at + 3 < utf8.size() && (utf8[at + 2] == 'a' || utf8[at + 2] == 'A') &&
        (utf8[at + 3] == '>' || std::isspace(static_cast<unsigned char>(utf8[at + 3]))))
      return at;
  return utf8.size();
}

// Every outermost list of the page with the links of its items, as groups.
std::vector<std::vector<ListLink>> ListsOfLinks(std::string_view pageName, std::string_view html) {
  const std::string utf8 = PageUtf8(html);
  std::vector<std::vector<ListLink>> groups;
  HtmlTags tags(utf8);
  int depth = 0;
  bool awaiting = false;  // an item has begun and its link not been seen yet
  while (std::optional<HtmlTag> tag = tags.Next()) {
    const bool list = tag->name == "ul" || tag->name == "ol" || tag->name == "dl";
    if (list) {
      if (tag->end) {
        depth = std::max(0, depth - 1);
      } else {
        if (depth == 0) groups.emplace_back();
        ++depth;
      }
      awaiting = false;
      continue;
    }
    if (depth == 0) continue;
    if (!tag->end && (tag->name == "li" || tag->name == "dt")) {
      awaiting = true;
      continue;
    }
    if (tag->end || tag->name != "a" || !awaiting) continue;
    const std::optional<std::string> href = tag->Attribute("href");
    if (!href) continue;
    awaiting = false;
    const std::optional<std::string> page = BookPageName(pageName, *href);
    if (!page || page->empty()) continue;
    const size_t close = EndOfLink(utf8, tag->after);
    groups.back().push_back(
        {depth, *page, VisibleText(utf8.substr(tag->after, close - tag->after))});
  }
  return groups;
}

void AddNode(TocTree& tree, std::vector<int>& path, size_t depth, std::string caption,
             std::string_view page) {
  AppendTocNode(tree, path, std::min(depth, path.size()), EncodeBookText(caption), page);
}

// The name of the file itself, for a page with neither title nor heading.
std::string FileCaption(std::string_view name) {
  const size_t slash = name.rfind('/');
  return DecodeBookText(slash == std::string_view::npos ? name : name.substr(slash + 1));
}

struct Heading {
  int rank;  // 1 or 2
  std::string id;
  std::string text;
};

// The <h1> and <h2> headings of a page with the id a link reaches them by ("" for none): the
// heading's own id, or that of an element inside it, or the "#id" of a permalink inside it
// (whose text, "¶", is no part of the heading).
std::vector<Heading> Headings(std::string_view utf8) {
  std::vector<Heading> headings;
  HtmlTags tags(utf8);
  std::optional<Heading> open;
  size_t textFrom = 0;
  std::string text;
  while (std::optional<HtmlTag> tag = tags.Next()) {
    const bool heading = tag->name == "h1" || tag->name == "h2";
    if (heading && !tag->end) {
      open = Heading{tag->name[1] - '0', tag->Attribute("id").value_or(""), {}};
      textFrom = tag->after;
      text.clear();
      continue;
    }
    if (!open) continue;
    if (heading && tag->end) {
      text += utf8.substr(textFrom, tag->begin - textFrom);
      open->text = VisibleText(text);
      headings.push_back(std::move(*open));
      open.reset();
      continue;
    }
    if (open->id.empty())
      open->id = tag->Attribute("id").value_or(tag->Attribute("name").value_or(""));
    if (tag->name == "a" && !tag->end) {
      const std::string href = tag->Attribute("href").value_or("");
      if (href.starts_with("#") && href.size() > 1) {
        if (open->id.empty()) open->id = href.substr(1);
        // The permalink's text is left out.
        text += utf8.substr(textFrom, tag->begin - textFrom);
        textFrom = EndOfLink(utf8, tag->after);
      }
    }
  }
  return headings;
}

TocTree TitlesAndHeadings(const std::vector<PackEntry>& files, std::string_view startPage) {
  TocTree tree;
  std::vector<int> path;
  // The start page first, then the others in folder order.
  std::vector<const PackEntry*> pages = PagesInFolderOrder(files);
  std::stable_partition(pages.begin(), pages.end(),
                        [&](const PackEntry* page) { return page->name == startPage; });
  for (const PackEntry* page : pages) {
    if (page->name.size() > kMaxPageName) continue;
    std::string bytes;
    try {
      bytes = EntryContent(*page);
    } catch (const std::exception&) {
      continue;  // the build itself reports it
    }
    const std::string utf8 = PageUtf8(bytes);
    const std::vector<Heading> headings = Headings(utf8);
    std::string caption = PageTitle(bytes);
    size_t first = 0;
    if (caption.empty() && !headings.empty()) caption = headings[first++].text;
    if (caption.empty()) caption = FileCaption(page->name);
    AddNode(tree, path, 0, caption, page->name);
    for (size_t i = first; i < headings.size(); ++i) {
      const Heading& heading = headings[i];
      if (heading.id.empty() || heading.text.empty()) continue;
      if (i == 0 && heading.rank == 1 && heading.text == caption) continue;  // the page itself
      const std::string target = page->name + "#" + heading.id;
      if (target.size() <= kMaxPageName) AddNode(tree, path, 1, heading.text, target);
    }
  }
  return tree;
}

}  // namespace

std::optional<std::string> BookPageName(std::string_view from, std::string_view href) {
  const LinkedPage page = ResolveLinkedPage(from, href);
  if (page.kind != LinkedPage::Kind::Page) return std::nullopt;
  return page.path + page.tail;
}

DerivedContents DeriveContents(const std::vector<PackEntry>& files, std::string_view startPage) {
  const StoredPages stored(files);
  // The pages whose lists may be the book's contents.
  std::vector<const PackEntry*> candidates;
  for (const PackEntry& file : files)
    if (file.name == startPage) candidates.push_back(&file);
  for (const std::string_view name :
       {"contents.html", "contents.htm", "toc.html", "toc.htm", "index.html", "index.htm"})
    for (const PackEntry& file : files)
      if (file.name != startPage && UpperAscii(file.name) == UpperAscii(name))
        candidates.push_back(&file);

  const PackEntry* bestPage = nullptr;
  std::vector<ListLink> best;
  size_t bestCount = 0;
  for (const PackEntry* page : candidates) {
    std::string bytes;
    try {
      bytes = EntryContent(*page);
    } catch (const std::exception&) {
      continue;
    }
    for (std::vector<ListLink>& group : ListsOfLinks(page->name, bytes)) {
      std::erase_if(group, [&](const ListLink& link) {
        return link.page.size() > kMaxPageName || !stored.Has(link.page);
      });
      std::set<std::string> pages;
      for (const ListLink& link : group) pages.insert(ReducedEntryName(UpperAscii(link.page)));
      if (pages.size() > bestCount) {
        bestCount = pages.size();
        best = std::move(group);
        bestPage = page;
      }
    }
  }
  DerivedContents contents;
  if (bestCount < 2) {
    contents.tree = TitlesAndHeadings(files, startPage);
    contents.source = "page titles and headings";
    return contents;
  }
  std::vector<int> path;
  const int top =
      std::min_element(best.begin(), best.end(), [](const ListLink& a, const ListLink& b) {
        return a.depth < b.depth;
      })->depth;
  // The start page comes first, so that the contents lead to it too.
  const bool startListed = std::any_of(best.begin(), best.end(), [&](const ListLink& link) {
    return ReducedEntryName(UpperAscii(link.page)) == UpperAscii(startPage);
  });
  if (!startPage.empty() && !startListed) {
    std::string title;
    for (const PackEntry& file : files)
      if (file.name == startPage) {
        try {
          title = PageTitle(EntryContent(file));
        } catch (const std::exception&) {
        }
      }
    AddNode(contents.tree, path, 0, title.empty() ? FileCaption(startPage) : title, startPage);
  }
  for (const ListLink& link : best) {
    const std::string caption = link.caption.empty() ? FileCaption(link.page) : link.caption;
    AddNode(contents.tree, path, static_cast<size_t>(link.depth - top), caption, link.page);
  }
  contents.source = "the lists of " + bestPage->name;
  return contents;
}

}  // namespace ebook
