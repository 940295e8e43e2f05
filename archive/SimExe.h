#pragma once
// The running book: the process-wide image of the executable file and the operations the
// viewer reads its book with. Loaded once at start-up, read-only afterwards.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "archive/BookImage.h"
#include "archive/ZLib.h"

namespace ebook {

// The process-wide book image; empty until LoadExeImage (or SetExeImage) runs.
const BookImage& ExeImage();

// Reads the running executable file into ExeImage, replacing what it held. Throws
// std::system_error when the file cannot be opened or read; ExeImage is then unchanged.
void LoadExeImage();
// Makes `image` the process-wide book: the book tool inspects other files this way, and tests
// install the books they build.
void SetExeImage(BookImage image);

// Full path of the running executable, and its folder.
std::string ExecutablePath();
std::string ExecutableFolder();

// The inflated content of the named entry, or empty bytes when there is none. Loads ExeImage
// first when it is empty. Throws EZDecompressionError.
std::string ReadEntry(std::string_view name);

// Every entry name in archive order. Loads ExeImage first when it is empty.
std::vector<std::string> EnumerateEntries();

// Writes `bytes` into `stream` from position 0 and rewinds it for reading.
void StringToStream(std::string_view bytes, std::iostream& stream);

// Does nothing for empty bytes. Otherwise makes the executable's folder the working folder and
// writes the file (a relative path resolves there), replacing any file of that name.
// Throws std::system_error when the file cannot be written.
void SaveStringToFile(std::string_view bytes, const std::string& path);

}  // namespace ebook
