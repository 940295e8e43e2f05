#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "platform/AvailableMemory.h"
#include "support/Scratch.h"

namespace ebook {
namespace {

namespace fs = std::filesystem;
constexpr size_t kMiB = size_t{1} << 20;

// A fake system under a scratch folder: /proc/self/{mountinfo,cgroup}, /proc/meminfo and
// cgroup folders.
class FakeSystem {
 public:
  FakeSystem() {
    fs::create_directories(root_ / "proc/self");
    Write("proc/meminfo", "MemTotal:       24000000 kB\nMemAvailable:    8388608 kB\n");
  }

  void Write(const std::string& path, const std::string& text) { root_.Write(path, text); }
  // One cgroup folder: limit (v1 number or v2 "max"), usage and memory.stat.
  void Level(const std::string& folder, bool v2, const std::string& limit, size_t usage,
             const std::string& stat = "") {
    Write(folder + (v2 ? "/memory.max" : "/memory.limit_in_bytes"), limit + "\n");
    Write(folder + (v2 ? "/memory.current" : "/memory.usage_in_bytes"), std::to_string(usage) + "\n");
    if (!stat.empty()) Write(folder + "/memory.stat", stat);
  }
  std::string root() const { return root_.path().string(); }

 private:
  testing::Scratch root_;
};

constexpr char kV1Mounts[] =
    "30 25 0:27 / /sys/fs/cgroup/cpu rw,relatime shared:9 - cgroup cgroup rw,cpu\n"
    "31 25 0:28 / /sys/fs/cgroup/memory rw,relatime shared:10 - cgroup cgroup rw,memory\n";
constexpr char kV2Mounts[] =
    "29 24 0:26 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:4 - cgroup2 cgroup2 "
    "rw,nsdelegate,memory_recursiveprot\n";

TEST(AvailableMemory, WithoutCgroupLimitsIsWhatTheSystemHasAvailable) {
  FakeSystem system;
  system.Write("proc/self/mountinfo", kV2Mounts);
  system.Write("proc/self/cgroup", "0::/user.slice/session-2.scope\n");
  system.Level("sys/fs/cgroup/user.slice/session-2.scope", true, "max", 500 * kMiB);
  EXPECT_EQ(CgroupAvailableMemory(system.root()), std::nullopt);
  EXPECT_EQ(AvailableMemory(system.root()), 8192 * kMiB);
}

TEST(AvailableMemory, NothingReadableMeansNoLimit) {
  FakeSystem system;
  fs::remove(system.root() + "/proc/meminfo");
  EXPECT_EQ(AvailableMemory(system.root()), std::numeric_limits<size_t>::max());
}

// A systemd slice limits a whole session: the tightest level up the tree counts, and file
// cache is memory the kernel takes back before it ends a process, shared memory is not.
TEST(AvailableMemory, CgroupV2TightestLevelWithCacheCountedAsFree) {
  FakeSystem system;
  system.Write("proc/self/mountinfo", kV2Mounts);
  system.Write("proc/self/cgroup", "0::/user.slice/app.scope\n");
  system.Level("sys/fs/cgroup/user.slice", true, std::to_string(2048 * kMiB), 1500 * kMiB,
               "anon 1000\nfile 314572800\nshmem 104857600\n");
  system.Level("sys/fs/cgroup/user.slice/app.scope", true, std::to_string(4096 * kMiB), 100 * kMiB);
  // 2048 - (1500 - (300 - 100)).
  EXPECT_EQ(CgroupAvailableMemory(system.root()), 748 * kMiB);
  EXPECT_EQ(AvailableMemory(system.root()), 748 * kMiB);
}

TEST(AvailableMemory, CgroupV1MemoryController) {
  FakeSystem system;
  system.Write("proc/self/mountinfo", kV1Mounts);
  system.Write("proc/self/cgroup", "5:cpu,cpuacct:/\n4:memory:/box/viewer\n0::/\n");
  system.Level("sys/fs/cgroup/memory", false, "9223372036854771712", 9000 * kMiB);
  system.Level("sys/fs/cgroup/memory/box", false, "9223372036854771712", 900 * kMiB);
  system.Level("sys/fs/cgroup/memory/box/viewer", false, std::to_string(1024 * kMiB), 900 * kMiB,
               "cache 1\ntotal_cache 209715200\ntotal_shmem 0\n");
  EXPECT_EQ(CgroupAvailableMemory(system.root()), 324 * kMiB);
  // Usage past the limit (the kernel is reclaiming) leaves nothing.
  system.Level("sys/fs/cgroup/memory/box/viewer", false, std::to_string(512 * kMiB), 900 * kMiB);
  EXPECT_EQ(CgroupAvailableMemory(system.root()), 0u);
}

// Inside a container the hierarchy is mounted from the container's own folder on.
TEST(AvailableMemory, MountShowingPartOfTheHierarchy) {
  FakeSystem system;
  system.Write("proc/self/mountinfo",
               "31 25 0:28 /docker/abc /sys/fs/cgroup/memory ro - cgroup cgroup rw,memory\n");
  system.Write("proc/self/cgroup", "4:memory:/docker/abc\n");
  system.Level("sys/fs/cgroup/memory", false, std::to_string(256 * kMiB), 56 * kMiB);
  EXPECT_EQ(CgroupAvailableMemory(system.root()), 200 * kMiB);
}

}  // namespace
}  // namespace ebook
