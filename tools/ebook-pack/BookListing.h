#pragma once
// Shows what a book holds, read with the same code the viewer reads it with.

#include <iosfwd>
#include <string>
#include <string_view>

#include "archive/BookImage.h"

namespace ebook {

// One entry name a line, in archive order.
void ListEntries(const BookImage& book, std::ostream& out);

// The entry's content as it is; nothing for a missing entry. Throws EZDecompressionError.
void CatEntry(const BookImage& book, std::string_view name, std::ostream& out);

// Every settings value the viewer reads, after defaults, as "section/key=value", then the
// option string switch by switch in words.
void PrintSettings(const BookImage& book, std::ostream& out);

// The contents tree in the text form the build reads; nothing for a book without one.
// Returns what is wrong with the stored stream ("" when nothing): damage, after which the nodes
// read before it are printed all the same, or nodes nested too deep to print.
std::string PrintToc(const BookImage& book, std::ostream& out);

}  // namespace ebook
