#pragma once
// The values of a book's settings entry that live for the whole run. The window applies the
// remaining keys (sizes, captions, search texts, ...) while it is created, reading them from
// the same IniText.

#include <string>

#include "settings/IniText.h"
#include "settings/OptionString.h"
#include "settings/SettingsKeys.h"

namespace ebook {

class BookContent;

struct BookSettings {
  ebook::OptionString OptionString;  // cSettings/DATA
  std::string StartPage;          // cSettings/home
  std::string StartMessage;       // cEve/start
  std::string CloseMessage;       // cEve/close
  bool BookmarkEnabled = false;   // cEve/bookmark
  std::string BookTitle{SettingDefault("cInfo", "title")};  // cInfo/title, trimmed
  std::string BookNumber;         // cInfo/enumber
  std::string BookAuthor;         // cInfo/author
  std::string BookEmail;          // cInfo/email
  std::string BookWeb;            // cInfo/web
  std::string BookAbout;          // cInfo/about
  std::string LogoUrl;            // cTool/logoURL
  std::string ToolbarColor;       // cTool/bgColor, converted by the toolbar
  std::string ToolbarTextColor;   // cTool/txColor, converted by the toolbar
};

// Fills BookSettings from parsed settings text; absent keys take their defaults.
BookSettings ReadBookSettings(const IniText& ini);

// The settings text of `book` (entry XSE1.QRLC), parsed. A missing entry gives empty
// settings, so every key takes its default. Throws EZDecompressionError.
IniText LoadSettingsText(const BookContent& book);

}  // namespace ebook
