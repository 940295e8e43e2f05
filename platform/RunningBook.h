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

// Reads the book file (BookFilePath) into ExeImage, replacing what it held. Throws
// std::system_error when the file cannot be opened or read; ExeImage is then unchanged.
void LoadExeImage();
// Makes `image` the process-wide book: the book tool inspects other files this way, and tests
// install the books they build.
void SetExeImage(BookImage image);

// Full path of the running executable, and its folder.
std::string ExecutablePath();
std::string ExecutableFolder();

// The book file: the file whose archive this process shows. It is the running executable
// unless the program entry names another file: the book a launcher started the viewer for, or
// the book file an installed (bare) viewer was asked to open. The self-replacement hand-over,
// "$DRV$", the working folder and LoadExeImage all follow it.
// `running`: the file is a program that runs while this process shows it (the launcher at
// the front of the book waits for the viewer), so it cannot be written meanwhile and may be
// mapped instead of read. An empty path names the running executable again.
void SetBookFile(const std::string& path, bool running);
std::string BookFilePath();
std::string BookFolder();

// The inflated content of the named entry, or empty bytes when there is none. Loads ExeImage
// first when it is empty. Throws EZDecompressionError.
std::string ReadEntry(std::string_view name);

// Every entry name in archive order. Loads ExeImage first when it is empty.
std::vector<std::string> EnumerateEntries();

// Writes `bytes` into `stream` from position 0 and rewinds it for reading.
void StringToStream(std::string_view bytes, std::iostream& stream);

// Does nothing for empty bytes. Otherwise makes the book file's folder the working folder and
// writes the file (a relative path resolves there), replacing any file of that name.
// Throws std::system_error when the file cannot be written.
void SaveStringToFile(std::string_view bytes, const std::string& path);

}  // namespace ebook
