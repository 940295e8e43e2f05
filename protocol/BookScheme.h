#pragma once
// The address space the book is served under in protocol mode. Qt WebEngine will not let a
// program answer "http" requests itself, so the book has a scheme of its own:
//
//   ebook://book/<entry name>
//
// The scheme must be known to the browser engine before the application object exists
// (RegisterBookScheme in main()). It is a secure, local scheme: pages from the web can neither
// load nor link to book addresses, while book pages can use everything a web origin can
// (relative links, scripts, storage, XMLHttpRequest).

#include <QString>

namespace ebook {

inline constexpr char kBookScheme[] = "ebook";
inline constexpr char kBookHost[] = "book";

// "ebook://book/": the prefix of every book address in protocol mode.
QString ProtocolBaseUrl();
// "ebook://book": the origin of book pages, as the engine reports request initiators.
QString BookOrigin();

// Registers the scheme with the browser engine. Call once, before QApplication is created.
void RegisterBookScheme();

}  // namespace ebook
