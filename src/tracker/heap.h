// The C heap as the tracker sees it: a seam (platform/seam.h). Every byte
// the tracker owns (blocks, records, nodes, name copies) comes from
// Heap().allocate and goes back through Heap().release (by way of
// HeapAllocate and HeapRelease), so that a test can make a chosen allocation
// fail, or stand in for a block too large to exist.
#ifndef MORVANE_SRC_TRACKER_HEAP_H_
#define MORVANE_SRC_TRACKER_HEAP_H_

#include <cstddef>
#include <cstdlib>

#include "platform/seam.h"

namespace morvane::tracker {

struct HeapCalls {
  // malloc's contract: null when the block cannot be had.
  void* (*allocate)(std::size_t size);
  // free's contract: null is allowed and ignored.
  void (*release)(void* block);
};

namespace heap_detail {
extern platform::Seam<HeapCalls> heap;
// The default entries.
void* Malloc(std::size_t size);
void Free(void* block);
}  // namespace heap_detail

// The live table (malloc and free unless a test replaced them).
inline HeapCalls& Heap() { return heap_detail::heap.Live(); }
// The default entries, for restoring.
inline const HeapCalls& DefaultHeap() { return heap_detail::heap.Defaults(); }

// Heap().allocate(size) and Heap().release(block). A tracked allocation
// makes four of each, so while the table holds the default entries they
// call the C heap directly rather than through the table.
inline void* HeapAllocate(std::size_t size) {
  auto* const allocate = Heap().allocate;
  return allocate == heap_detail::Malloc ? std::malloc(size) : allocate(size);
}

inline void HeapRelease(void* block) {
  auto* const release = Heap().release;
  if (release == heap_detail::Free) {
    std::free(block);
  } else {
    release(block);
  }
}

}  // namespace morvane::tracker

#endif  // MORVANE_SRC_TRACKER_HEAP_H_
