#include "BookWriter.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "BookFiles.h"
#include "PackError.h"
#include "Progress.h"
#include "archive/ArchiveWriter.h"
#include "archive/BookImage.h"
#include "text/Ascii.h"

namespace ebook {
namespace {

std::string Deflate(std::string_view input, int level) {
  uLongf size = compressBound(static_cast<uLong>(input.size()));
  std::string out(size, '\0');
  const int result = compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                               reinterpret_cast<const Bytef*>(input.data()),
                               static_cast<uLong>(input.size()), level);
  if (result != Z_OK) throw PackError(std::string("cannot deflate: ") + zError(result));
  out.resize(size);
  return out;
}

// What one worker made of one entry.
struct Slot {
  std::string encoded;
  std::exception_ptr failure;
  bool ready = false;
};

}  // namespace

std::string EntryContent(const PackEntry& entry) {
  return entry.file.empty() ? entry.content : ReadFileBytes(entry.file);
}

void SortPackEntries(std::vector<PackEntry>& entries) {
  std::vector<BookEntry> keys;
  keys.reserve(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) keys.push_back({entries[i].name, std::to_string(i)});
  SortInBookOrder(keys);
  std::vector<PackEntry> sorted;
  sorted.reserve(entries.size());
  for (const BookEntry& key : keys) sorted.push_back(std::move(entries[std::stoul(key.content)]));
  entries = std::move(sorted);
}

void WriteEntries(const std::vector<PackEntry>& entries, int level,
                  const std::function<void(std::string_view)>& sink, Progress* progress) {
  const size_t threads = std::max(1u, std::thread::hardware_concurrency());
  // Entries deflated ahead of the writer: enough to keep every core busy.
  const size_t window = 4 * threads;

  std::vector<Slot> slots(entries.size());
  std::mutex mutex;
  std::condition_variable changed;
  size_t next = 0;     // the next entry a worker takes
  size_t written = 0;  // entries handed to the sink
  bool stop = false;

  auto work = [&] {
    for (;;) {
      size_t i;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock,
                     [&] { return stop || next >= entries.size() || next < written + window; });
        if (stop || next >= entries.size()) return;
        i = next++;
      }
      Slot made;
      try {
        const PackEntry& entry = entries[i];
        made.encoded = EncodeRawEntry(UpperAscii(entry.name), Deflate(EntryContent(entry), level));
      } catch (...) {
        made.failure = std::current_exception();
      }
      made.ready = true;
      std::lock_guard lock(mutex);
      slots[i] = std::move(made);
      changed.notify_all();
    }
  };
  std::vector<std::thread> workers;
  for (size_t t = 0; t < threads; ++t) workers.emplace_back(work);
  auto stopWorkers = [&] {
    {
      std::lock_guard lock(mutex);
      stop = true;
    }
    changed.notify_all();
    for (std::thread& worker : workers) worker.join();
  };

  uintmax_t bytesDone = 0;
  try {
    for (size_t i = 0; i < entries.size(); ++i) {
      Slot slot;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return slots[i].ready; });
        slot = std::move(slots[i]);
      }
      if (slot.failure) std::rethrow_exception(slot.failure);
      sink(slot.encoded);
      bytesDone += entries[i].size;
      {
        std::lock_guard lock(mutex);
        written = i + 1;
      }
      changed.notify_all();
      if (progress) progress->Update(i + 1, bytesDone);
    }
  } catch (...) {
    stopWorkers();
    throw;
  }
  stopWorkers();
}

}  // namespace ebook
