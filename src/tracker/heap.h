// The C heap as the tracker sees it. Every byte the tracker owns (blocks,
// records, nodes, name copies) comes from Heap().allocate and goes back
// through Heap().release, so that a test can make a chosen allocation fail.
// Thread-safety: a plain global; tests swap entries only while nothing else
// runs, and restore them from DefaultHeap().
#ifndef MORVANE_SRC_TRACKER_HEAP_H_
#define MORVANE_SRC_TRACKER_HEAP_H_

#include <cstddef>

namespace morvane::tracker {

struct HeapCalls {
  // malloc's contract: null when the block cannot be had.
  void* (*allocate)(std::size_t size);
  // free's contract: null is allowed and ignored.
  void (*release)(void* block);
};

// The live table (malloc and free unless a test replaced them).
HeapCalls& Heap();
const HeapCalls& DefaultHeap();

}  // namespace morvane::tracker

#endif  // MORVANE_SRC_TRACKER_HEAP_H_
