#include "settings/BookSettings.h"

#include "archive/BookContent.h"
#include "settings/SettingsKeys.h"
#include "text/Ascii.h"
#include "archive/InternalEntries.h"

namespace ebook {

BookSettings ReadBookSettings(const IniText& ini) {
  BookSettings s;
  s.OptionString = ebook::OptionString(ini.ReadString("cSettings", "DATA"));
  s.StartPage = ini.ReadString("cSettings", "home");
  s.StartMessage = ini.ReadString("cEve", "start");
  s.CloseMessage = ini.ReadString("cEve", "close");
  s.BookmarkEnabled = ini.ReadBool("cEve", "bookmark");
  s.BookTitle = std::string(TrimControl(ini.ReadString("cInfo", "title")));
  s.BookNumber = ini.ReadString("cInfo", "enumber");
  s.BookAuthor = ini.ReadString("cInfo", "author");
  s.BookEmail = ini.ReadString("cInfo", "email");
  s.BookWeb = ini.ReadString("cInfo", "web");
  s.BookAbout = ini.ReadString("cInfo", "about");
  s.LogoUrl = ini.ReadString("cTool", "logoURL");
  s.ToolbarColor = ini.ReadString("cTool", "bgColor");
  s.ToolbarTextColor = ini.ReadString("cTool", "txColor");
  return s;
}

IniText LoadSettingsText(const BookContent& book) { return IniText(book.ReadEntry(kSettingsEntry)); }

}  // namespace ebook
