#pragma once
// How a book address maps to an archive entry, and what content type the answer carries.
// Pure functions, so the rules can be tested without a browser.

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace ebook {

// The entry name a book address asks for: everything after the base address (compared
// without regard to ASCII letter case), with every "%20" turned into a space. No other escape
// is decoded and nothing is cut off: a query ("page.htm?x=1") stays part of the name.
// nullopt for an address that does not begin with the base address.
std::optional<std::string> EntryNameFromUrl(const QString& url, const QString& baseUrl);

// The Content-Type for an entry's bytes, chosen by Qt's MIME database from the name's
// extension (the content decides only when the extension says nothing). See the .cpp for the
// character set of text pages.
QByteArray ContentTypeFor(std::string_view entryName, std::string_view bytes);

}  // namespace ebook
