#pragma once
// Books keep their texts (settings, captions, messages) in the author's 8-bit ANSI code page,
// Windows-1252. These convert between such bytes and Qt strings.

#include <QString>
#include <string>
#include <string_view>

namespace ebook {

QString FromAnsi(std::string_view bytes);
// Characters without a Windows-1252 byte become "?".
std::string ToAnsi(const QString& text);

}  // namespace ebook
