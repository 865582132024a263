// The tracked-allocation step: most blocks go back, two are leaked on
// purpose so that the library's leak report has something to say.
#include <morvane/bmem.h>

#include <cstdio>
#include <cstring>

#include "steps.h"

namespace demo {
namespace {

void PrintTotals(const char* when) {
  std::printf("  %-22s %4ld bytes in %ld blocks\n", when, _b_getusedmem(),
              _b_getmemcount());
}

}  // namespace

bool ShowTrackedAllocation() {
  constexpr long kLeakedBytes = 48 + 200;
  constexpr long kLeakedBlocks = 2;
  long used_before = _b_getusedmem();
  long count_before = _b_getmemcount();

  char* name = static_cast<char*>(_b_new(32, __FILE__, __LINE__));
  std::strcpy(name, "vertex buffer");
  float* vertices = static_cast<float*>(_b_new(48, __FILE__, __LINE__));
  void* scratch = _b_new(1024, __FILE__, __LINE__);
  int* indices = static_cast<int*>(_b_new(200, __FILE__, __LINE__));
  void* empty = _b_new(0, __FILE__, __LINE__);
  std::printf("  (live totals from _b_getusedmem and _b_getmemcount)\n");
  PrintTotals("after five _b_new:");

  _b_delete(name, __FILE__, __LINE__);
  _b_delete(scratch, __FILE__, __LINE__);
  _b_delete(empty, __FILE__, __LINE__);
  PrintTotals("after three _b_delete:");
  // `vertices` and `indices` are never released: the two leaks.
  std::printf("  leaked on purpose: %p (48 bytes), %p (200 bytes)\n",
              static_cast<void*>(vertices), static_cast<void*>(indices));

  return _b_getusedmem() - used_before == kLeakedBytes &&
         _b_getmemcount() - count_before == kLeakedBlocks;
}

}  // namespace demo
