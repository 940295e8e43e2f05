#pragma once
// What keeps one entry from working in the viewer, judged from the entry alone: a settings
// value its type cannot read, a bitmap the viewer cannot load, a name no address or no file
// can have.

#include <string>
#include <string_view>

#include "settings/SettingsKeys.h"

namespace ebook {

// What the viewer makes of a value it cannot read as the setting's type ("" when it can).
std::string ValueProblem(const SettingKey& setting, std::string_view value);

// What keeps a Windows bitmap from loading ("" when nothing): a header cut short, no pixels,
// or an uncompressed picture claiming more pixel rows than the file holds.
std::string BitmapProblem(std::string_view bytes);

// True when no address can name the entry: a browser drops its control characters from an
// address.
bool ViewerCannotServe(std::string_view name);

// Why an entry that passes the extraction's safety rules still cannot be created as a file in
// the temporary folder ("" when it can): a name ending in "/" or ".", a name part over 255
// bytes, a name too long for a path. A name that is also another entry's folder is found by
// the checker, which sees every name.
std::string UncreatableName(std::string_view name);

// The name as the extraction writes it to disk: "\" is a folder separator too.
std::string DiskName(std::string_view name);

}  // namespace ebook
