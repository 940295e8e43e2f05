#pragma once
// How much memory this process can still be given before it is killed: what the system has
// available (MemAvailable in /proc/meminfo), and no more than what the memory cgroups the
// process runs in still allow — a container, a systemd slice with MemoryMax, a sandbox.
// Within a cgroup, file cache counts as free (the kernel drops it before it ends a process);
// shared memory does not.

#include <cstddef>
#include <optional>
#include <string>

namespace ebook {

// Bytes available; the maximum when nothing can be read. `root` prefixes every path read
// ("/proc/...", "/sys/fs/cgroup/..."), so that tests can lay out a fake system.
size_t AvailableMemory(const std::string& root = "");

// Bytes the process's memory cgroups (v1 or v2, each level up to the top) still allow, or
// nullopt when no level sets a limit.
std::optional<size_t> CgroupAvailableMemory(const std::string& root = "");

}  // namespace ebook
