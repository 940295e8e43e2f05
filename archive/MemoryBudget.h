#pragma once
// The memory an entry may still take. Linux hands out memory it does not have and ends the
// process when it is touched, so an entry that inflates past what the process may hold must be
// stopped before that: it fails as zlib's own out-of-memory error while a reserve is left for
// the rest of the program.
//
// How much the process may still use is a question for the operating system, which this room
// does not ask itself: a program installs the probe at start (the viewer and the book tool
// install platform/AvailableMemory.h's). Without a probe nothing is refused.

#include <cstddef>

namespace ebook {

// Throws std::bad_alloc when taking `bytes` more would leave the process less memory than the
// reserve every inflation keeps for the rest of the program. Buffers that grow with an entry's
// output ask before they grow.
void EnsureMemoryFor(size_t bytes);

// Replaces the probe of the memory the process has left (bytes), which large entries consult
// while they inflate; nullptr removes it.
void SetAvailableMemoryProbe(size_t (*probe)());

}  // namespace ebook
