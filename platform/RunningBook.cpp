#include "platform/RunningBook.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

namespace ebook {
namespace {

BookImage& Image() {
  static BookImage image;
  return image;
}

struct NamedBook {
  std::string path;  // empty: the running executable
  bool running = true;
};

NamedBook& Book() {
  static NamedBook book;
  return book;
}

}  // namespace

const BookImage& ExeImage() { return Image(); }

std::string ExecutablePath() {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) throw std::system_error(error, "cannot find the running program");
  return path.string();
}

std::string ExecutableFolder() {
  return std::filesystem::path(ExecutablePath()).parent_path().string();
}

void SetBookFile(const std::string& path, bool running) {
  Book().path = path.empty() ? path : std::filesystem::absolute(path).lexically_normal().string();
  Book().running = path.empty() || running;
}

std::string BookFilePath() { return Book().path.empty() ? ExecutablePath() : Book().path; }

std::string BookFolder() { return std::filesystem::path(BookFilePath()).parent_path().string(); }

// A running program's file cannot be written ("text file busy"), so it is mapped; another
// file could be cut short under a mapping, so it is read.
void LoadExeImage() {
  const std::string path = BookFilePath();
  Image() = Book().running ? BookImage::FromRunningProgram(path) : BookImage::FromFile(path);
}

void SetExeImage(BookImage image) { Image() = std::move(image); }

void StringToStream(std::string_view bytes, std::iostream& stream) {
  stream.clear();
  stream.seekp(0);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  stream.seekg(0);
  stream.seekp(0);
}

void SaveStringToFile(std::string_view bytes, const std::string& path) {
  if (bytes.empty()) return;
  const std::string folder = BookFolder();
  if (chdir(folder.c_str()) != 0)
    throw std::system_error(errno, std::generic_category(), "cannot enter " + folder);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) throw std::system_error(errno, std::generic_category(), "cannot create " + path);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::system_error(EIO, std::generic_category(), "cannot write " + path);
}

}  // namespace ebook
