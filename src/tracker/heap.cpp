#include "tracker/heap.h"

#include <cstdlib>

namespace morvane::tracker {

void* heap_detail::Malloc(std::size_t size) { return std::malloc(size); }

void heap_detail::Free(void* block) { std::free(block); }

namespace {

constexpr HeapCalls kDefaultHeap = {heap_detail::Malloc, heap_detail::Free};

}  // namespace

// Constant-initialised, so it is ready before any static initialiser runs.
HeapCalls heap_detail::live_heap = kDefaultHeap;

const HeapCalls& DefaultHeap() { return kDefaultHeap; }

}  // namespace morvane::tracker
