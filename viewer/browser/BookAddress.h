#pragma once
// Addresses as the navigation layer reads them.
//
// Link commands are written after a "#" in a page's address ("page.htm#DO#SHOW#hi"), so an
// address must reach the before-navigate handler with every "#" of its fragment as written;
// QUrl's fully encoded form would turn all but the first into "%23".

#include <QString>

class QUrl;

namespace ebook {

// The address of `url` with spaces, non-ASCII characters and reserved characters
// percent-encoded, but the "#" characters of the fragment kept. An "%23" in the original
// address stays "%23".
QString NavigationAddress(const QUrl& url);

// True when `address` lies inside the book: it begins with `bookBaseUrl`, an address
// ("ebook://book/") or, in temp-folder mode, the path of the extracted book's folder
// ("/tmp/TMP1-2/", compared with the folder's file: address). False for an empty base.
bool IsBookAddress(const QString& address, const QString& bookBaseUrl);

// True when the two addresses have the same scheme, host and port.
bool SameOrigin(const QString& first, const QString& second);

}  // namespace ebook
