#include "launcher/RuntimeCache.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>
#include <zstd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace ebook {
namespace {

namespace fs = std::filesystem;

std::string ReadSmallFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::string Crc32Hex(std::string_view bytes) {
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
  char text[9];
  snprintf(text, sizeof text, "%08lx", crc & 0xFFFFFFFFUL);
  return text;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t wrote = write(fd, data, size);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    data += wrote;
    size -= static_cast<size_t>(wrote);
  }
  return true;
}

// Inflates the zstd stream into `tar -x` running in `folder`. Returns "" or what failed.
std::string Unpack(std::string_view packed, const std::string& folder) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return strerror(errno);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[0], STDIN_FILENO);
  std::vector<std::string> arguments = {"tar", "-x", "-f", "-", "--no-same-owner", "-C", folder};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t tar = 0;
  const int spawned = posix_spawnp(&tar, "tar", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[0]);
  if (spawned != 0) {
    close(pipeFds[1]);
    return std::string("cannot start tar: ") + strerror(spawned);
  }
  // A tar that stops reading must not end this program.
  signal(SIGPIPE, SIG_IGN);

  std::string failure;
  ZSTD_DCtx* context = ZSTD_createDCtx();
  ZSTD_DCtx_setParameter(context, ZSTD_d_windowLogMax, 27);
  std::vector<char> buffer(ZSTD_DStreamOutSize());
  ZSTD_inBuffer in{packed.data(), packed.size(), 0};
  size_t result = 1;
  while (failure.empty() && (in.pos < in.size || result != 0)) {
    ZSTD_outBuffer out{buffer.data(), buffer.size(), 0};
    result = ZSTD_decompressStream(context, &out, &in);
    if (ZSTD_isError(result)) {
      failure = std::string("the packed runtime is damaged (") + ZSTD_getErrorName(result) + ")";
    } else if (!WriteAll(pipeFds[1], buffer.data(), out.pos)) {
      failure = "tar stopped reading";
    } else if (in.pos == in.size && out.pos == 0 && result != 0) {
      failure = "the packed runtime is cut short";
    }
  }
  ZSTD_freeDCtx(context);
  close(pipeFds[1]);
  int status = 0;
  while (waitpid(tar, &status, 0) < 0 && errno == EINTR) {
  }
  if (!(WIFEXITED(status) && WEXITSTATUS(status) == 0) && failure.empty())
    failure = "tar could not write every file (is the disk full?)";
  return failure;
}

std::string RandomSuffix() {
  std::random_device device;
  return std::to_string(getpid()) + "-" + std::to_string(device() % 1000000);
}

}  // namespace

std::string RuntimeCacheFolder() {
  const char* cache = getenv("XDG_CACHE_HOME");
  if (cache && *cache == '/') return std::string(cache) + "/quirel-ebook";
  const char* home = getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.cache/quirel-ebook";
}

bool RuntimeIsWhole(const std::string& folder, std::string_view manifestCheck) {
  const std::string manifest = ReadSmallFile(folder + "/MANIFEST");
  if (manifest.empty() || Crc32Hex(manifest) != manifestCheck) return false;
  std::istringstream lines(manifest);
  for (std::string line; std::getline(lines, line);) {
    const size_t tab = line.rfind('\t');
    if (tab == std::string::npos) return false;
    struct stat info {};
    const std::string path = folder + "/" + line.substr(0, tab);
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    if (std::to_string(info.st_size) != line.substr(tab + 1)) return false;
  }
  return true;
}

std::string EnsureRuntime(const RuntimeFrame& frame, const std::string& cache) {
  const std::string id(frame.id);
  const std::string folder = cache + "/runtime-" + id;
  if (RuntimeIsWhole(folder, frame.manifestCheck)) {
    utimensat(AT_FDCWD, folder.c_str(), nullptr, 0);
    return folder;
  }
  std::error_code error;
  fs::create_directories(cache, error);
  if (error)
    throw std::runtime_error("Cannot make the folder " + cache + " for the book's runtime: " +
                             error.message() + ".");
  const std::string temporary = cache + "/.runtime-" + id + ".unpacking-" + RandomSuffix();
  if (mkdir(temporary.c_str(), 0700) != 0)
    throw std::runtime_error("Cannot unpack the book's runtime into " + cache + ": " +
                             strerror(errno) + ".");
  std::string failure = Unpack(frame.payload, temporary);
  if (failure.empty() && !RuntimeIsWhole(temporary, frame.manifestCheck))
    failure = "the unpacked runtime does not match its manifest";
  if (failure.empty()) chmod(temporary.c_str(), 0755);
  if (failure.empty() && rename(temporary.c_str(), folder.c_str()) != 0) {
    // Another book was quicker, or a runtime cut short is in the way.
    if (!RuntimeIsWhole(folder, frame.manifestCheck)) {
      const std::string broken = cache + "/.runtime-" + id + ".broken-" + RandomSuffix();
      if (rename(folder.c_str(), broken.c_str()) == 0) fs::remove_all(broken, error);
      if (rename(temporary.c_str(), folder.c_str()) != 0 && !RuntimeIsWhole(folder, frame.manifestCheck))
        failure = std::string("cannot put it in place: ") + strerror(errno);
    }
  }
  fs::remove_all(temporary, error);
  if (!failure.empty())
    throw std::runtime_error("Cannot unpack the book's runtime into " + folder + ": " + failure + ".");
  return folder;
}

std::string CachedViewerFile(std::string_view image, const std::string& cache) {
  const std::string path = cache + "/viewer-" + Crc32Hex(image) + "-" + std::to_string(image.size());
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && static_cast<size_t>(info.st_size) == image.size()) return path;
  std::error_code error;
  fs::create_directories(cache, error);
  const std::string temporary = path + ".writing-" + RandomSuffix();
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
  bool written = fd >= 0 && WriteAll(fd, image.data(), image.size());
  if (fd >= 0 && close(fd) != 0) written = false;
  if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
    const int failure = errno;
    unlink(temporary.c_str());
    throw std::runtime_error("Cannot write the viewer program into " + cache + ": " +
                             strerror(failure) + ".");
  }
  return path;
}

void RemoveOldRuntimes(const std::string& cache, const std::string& keep, std::chrono::hours age) {
  std::error_code error;
  const auto now = fs::file_time_type::clock::now();
  for (fs::directory_iterator it(cache, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    const bool runtime = name.starts_with("runtime-");
    const bool leftover = name.starts_with(".runtime-");
    if ((!runtime && !leftover) || it->path() == fs::path(keep)) continue;
    std::error_code timeError;
    const auto modified = fs::last_write_time(it->path(), timeError);
    if (timeError) continue;
    const auto limit = runtime ? std::chrono::duration_cast<fs::file_time_type::duration>(age)
                               : std::chrono::duration_cast<fs::file_time_type::duration>(std::chrono::hours(24));
    std::error_code removeError;
    if (now - modified > limit) fs::remove_all(it->path(), removeError);
  }
}

}  // namespace ebook
