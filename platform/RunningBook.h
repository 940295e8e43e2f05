#pragma once
// The running book: the process-wide image of the book file, loaded once at start-up and
// read-only afterwards, and where that file lies.
//
// Only the program entry (choosing and loading the book) and the self-replacement hand-over
// reach ExeImage. The program entry hands the image to the splash screen and the
// main window; the window hands it on to what reads the book for it (the request handler, the
// settings, the contents, the toolbar pictures, the search, temp-folder extraction). Nothing
// else reads the book through this process-wide image.

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
// Makes `image` the process-wide book: the book file a bare viewer was asked to open, the fresh
// copy the self-replacement writes out.
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

// Writes `bytes` into `stream` from position 0 and rewinds it for reading.
void StringToStream(std::string_view bytes, std::iostream& stream);

// Does nothing for empty bytes. Otherwise makes the book file's folder the working folder and
// writes the file (a relative path resolves there), replacing any file of that name.
// Throws std::system_error when the file cannot be written.
void SaveStringToFile(std::string_view bytes, const std::string& path);

}  // namespace ebook
