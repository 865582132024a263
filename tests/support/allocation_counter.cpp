#include "support/allocation_counter.h"

#include <cstdlib>
#include <new>

static int g_allocations = 0;
static std::size_t g_last_size = 0;

int morvane::testing::Allocations() { return g_allocations; }

std::size_t morvane::testing::LastAllocationSize() { return g_last_size; }

void* operator new(std::size_t size) {
  ++g_allocations;
  g_last_size = size;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
