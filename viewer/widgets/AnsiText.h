#pragma once
// Books keep their texts (settings, captions, messages) as 8-bit bytes: Windows-1252 in books
// made before UTF-8, UTF-8 in books made from today's documentation. FromBookText tells them
// apart by content (text/BookText); FromAnsi and ToAnsi are Windows-1252 only, for what must
// stay as it always was (the names bookmarks are kept under).

#include <QString>
#include <string>
#include <string_view>

namespace ebook {

QString FromAnsi(std::string_view bytes);
// A text of the book as the reader sees it.
QString FromBookText(std::string_view bytes);
// Bytes that FromBookText turns back into `text`.
std::string ToBookText(const QString& text);
// Characters without a Windows-1252 byte become "?".
std::string ToAnsi(const QString& text);

}  // namespace ebook
