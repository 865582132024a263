#include "tracker/heap.h"

#include <cstdlib>

namespace morvane::tracker {

void* heap_detail::Malloc(std::size_t size) { return std::malloc(size); }

void heap_detail::Free(void* block) { std::free(block); }

namespace {

constexpr HeapCalls kDefaultHeap = {heap_detail::Malloc, heap_detail::Free};

}  // namespace

// Constant-initialised (platform/seam.h): ready before the tracker's static
// initialiser allocates.
platform::Seam<HeapCalls> heap_detail::heap(kDefaultHeap);

}  // namespace morvane::tracker
