#pragma once
// Starting the viewer for the book file the launcher is the front of.
//
// The viewer runs as a child of the launcher, which waits for it and ends with its exit
// status: while the launcher runs, the book file is a running program that cannot be written
// ("text file busy"), so the viewer may map it instead of reading it. The viewer learns the
// book file from EBOOK_BOOK_FILE, which it takes out of its environment at once.

#include <string>
#include <string_view>
#include <vector>

namespace ebook {

inline constexpr const char* kBookFileVariable = "EBOOK_BOOK_FILE";

struct ViewerStart {
  std::vector<std::string> arguments;  // argv, argv[0] included
  std::string bookFile;
  std::vector<std::string> environment;  // NAME=value pairs added to (or replacing) ours
};

// Runs the viewer program held in `image` (copied into an anonymous memory file) and returns
// the exit status to end with; -1 when it cannot be started (errno set).
int RunViewerImage(std::string_view image, const ViewerStart& start);

// Runs the viewer program file `program`, as RunViewerImage does.
int RunViewerFile(const std::string& program, const ViewerStart& start);

}  // namespace ebook
