#include "archive/MemoryBudget.h"

#include <atomic>
#include <new>

namespace ebook {
namespace {

constexpr size_t kReserve = size_t{256} << 20;

// Pages are inflated on several threads at once (the search, the book tool's check).
std::atomic<size_t (*)()> availableMemory{nullptr};

}  // namespace

void EnsureMemoryFor(size_t bytes) {
  size_t (*probe)() = availableMemory.load(std::memory_order_relaxed);
  if (!probe) return;
  const size_t available = probe();
  if (available < kReserve || available - kReserve < bytes) throw std::bad_alloc();
}

void SetAvailableMemoryProbe(size_t (*probe)()) {
  availableMemory.store(probe, std::memory_order_relaxed);
}

}  // namespace ebook
