#include "platform/PathCase.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "archive/BookImage.h"
#include "text/Ascii.h"

namespace ebook {
namespace fs = std::filesystem;

std::string ResolvePathIgnoringCase(const std::string& path) {
  std::string slashed = path;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  if (slashed.empty() || slashed.front() != '/') return slashed;  // an address, not a file
  std::error_code error;
  if (fs::exists(slashed, error)) return slashed;

  fs::path resolved = "/";
  for (const fs::path& part : fs::path(slashed).relative_path()) {
    const std::string want = UpperAscii(part.string());
    std::vector<std::string> matches;
    for (const auto& entry : fs::directory_iterator(resolved, error)) {
      const std::string name = entry.path().filename().string();
      if (UpperAscii(name) == want) matches.push_back(name);
    }
    if (error || matches.empty()) return slashed;
    std::sort(matches.begin(), matches.end());
    auto exact = std::find(matches.begin(), matches.end(), part.string());
    resolved /= exact != matches.end() ? *exact : matches.front();
  }
  return resolved.string();
}

}  // namespace ebook
