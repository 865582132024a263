#include "tracker/heap.h"

#include <cstdlib>

namespace morvane::tracker {
namespace {

void* Allocate(std::size_t size) { return std::malloc(size); }
void Release(void* block) { std::free(block); }

constexpr HeapCalls kDefaultHeap = {Allocate, Release};

// Constant-initialised, so it is ready before any static initialiser runs.
HeapCalls heap = kDefaultHeap;

}  // namespace

HeapCalls& Heap() { return heap; }

const HeapCalls& DefaultHeap() { return kDefaultHeap; }

}  // namespace morvane::tracker
