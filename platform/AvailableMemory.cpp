#include "platform/AvailableMemory.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <limits>
#include <sstream>
#include <string_view>
#include <vector>

namespace ebook {
namespace {

constexpr size_t kUnknown = std::numeric_limits<size_t>::max();

std::optional<size_t> ParseSize(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
  size_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::string> ReadSmallFile(const std::string& path) {
  std::ifstream file(path);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::optional<size_t> ReadSize(const std::string& path) {
  const auto text = ReadSmallFile(path);
  return text ? ParseSize(*text) : std::nullopt;
}

// The value of `key` in a "key value" listing such as memory.stat or /proc/meminfo.
std::optional<size_t> StatValue(const std::string& listing, std::string_view key) {
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) {
    std::string_view rest(line);
    if (!rest.starts_with(key) || rest.size() == key.size()) continue;
    rest.remove_prefix(key.size());
    if (rest.front() == ':') rest.remove_prefix(1);
    if (rest.front() != ' ') continue;
    rest.remove_prefix(rest.find_first_not_of(' '));
    return ParseSize(rest.substr(0, rest.find(' ')));
  }
  return std::nullopt;
}

struct CgroupMount {
  bool v2 = false;
  std::string mountPoint;  // where the hierarchy is mounted
  std::string mountRoot;   // the hierarchy's folder seen at the mount point
};

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream words(line);
  for (std::string word; words >> word;) fields.push_back(word);
  return fields;
}

// True when the comma-separated `list` has `item` as one of its elements.
bool ListHolds(std::string_view list, std::string_view item) {
  for (size_t start = 0; start <= list.size();) {
    const size_t end = std::min(list.find(',', start), list.size());
    if (list.substr(start, end - start) == item) return true;
    start = end + 1;
  }
  return false;
}

// The memory cgroup mounts: fields 4 (root), 5 (mount point), and after " - " the type and
// the options.
std::vector<CgroupMount> MemoryMounts(const std::string& root) {
  std::vector<CgroupMount> mounts;
  std::ifstream mountinfo(root + "/proc/self/mountinfo");
  for (std::string line; std::getline(mountinfo, line);) {
    const std::vector<std::string> fields = Fields(line);
    const auto dash = std::find(fields.begin(), fields.end(), "-");
    if (fields.size() < 5 || dash == fields.end() || fields.end() - dash < 4) continue;
    const std::string& type = dash[1];
    if (type == "cgroup2")
      mounts.push_back({true, fields[4], fields[3]});
    else if (type == "cgroup" && ListHolds(dash[3], "memory"))
      mounts.push_back({false, fields[4], fields[3]});
  }
  return mounts;
}

// What one cgroup folder still allows: limit - usage + file cache - shared memory.
std::optional<size_t> LevelAvailable(const std::string& folder, bool v2) {
  const auto limit = ReadSize(folder + (v2 ? "/memory.max" : "/memory.limit_in_bytes"));
  const auto usage = ReadSize(folder + (v2 ? "/memory.current" : "/memory.usage_in_bytes"));
  // "max" (v2) does not parse; v1 writes a huge number for no limit.
  if (!limit || !usage || *limit >= (size_t{1} << 62)) return std::nullopt;
  size_t reclaimable = 0;
  if (const auto stat = ReadSmallFile(folder + "/memory.stat")) {
    const size_t cache = StatValue(*stat, v2 ? "file" : "total_cache").value_or(0);
    const size_t shared = StatValue(*stat, v2 ? "shmem" : "total_shmem").value_or(0);
    reclaimable = cache > shared ? cache - shared : 0;
  }
  const size_t used = *usage > reclaimable ? *usage - reclaimable : 0;
  return *limit > used ? *limit - used : 0;
}

}  // namespace

std::optional<size_t> CgroupAvailableMemory(const std::string& root) {
  const std::vector<CgroupMount> mounts = MemoryMounts(root);
  if (mounts.empty()) return std::nullopt;
  std::optional<size_t> available;
  std::ifstream membership(root + "/proc/self/cgroup");
  // "0::/path" for v2, "4:memory:/path" (or "4:cpu,memory:/path") for v1.
  for (std::string line; std::getline(membership, line);) {
    const size_t first = line.find(':');
    const size_t second = first == std::string::npos ? first : line.find(':', first + 1);
    if (second == std::string::npos) continue;
    const std::string_view controllers =
        std::string_view(line).substr(first + 1, second - first - 1);
    std::string path = line.substr(second + 1);
    const bool v2 = controllers.empty();
    if (!v2 && !ListHolds(controllers, "memory")) continue;
    for (const CgroupMount& mount : mounts) {
      if (mount.v2 != v2) continue;
      // The path is relative to the hierarchy's top; the mount shows it from mountRoot on.
      std::string relative = path;
      if (mount.mountRoot != "/") {
        if (!relative.starts_with(mount.mountRoot)) continue;
        relative.erase(0, mount.mountRoot.size());
      }
      if (relative.find("/..") != std::string::npos) continue;
      // Every level up to the top of the hierarchy may hold a limit.
      std::string level = relative.empty() ? "/" : relative;
      while (true) {
        if (const auto left = LevelAvailable(root + mount.mountPoint + level, v2))
          available = std::min(available.value_or(kUnknown), *left);
        if (level == "/") break;
        const size_t slash = level.rfind('/');
        level = slash == 0 || slash == std::string::npos ? "/" : level.substr(0, slash);
      }
    }
  }
  return available;
}

size_t AvailableMemory(const std::string& root) {
  size_t available = kUnknown;
  if (const auto meminfo = ReadSmallFile(root + "/proc/meminfo"))
    if (const auto kilobytes = StatValue(*meminfo, "MemAvailable"))
      available = *kilobytes * 1024;
  if (const auto allowed = CgroupAvailableMemory(root)) available = std::min(available, *allowed);
  return available;
}

}  // namespace ebook
