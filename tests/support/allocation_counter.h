// Counts the program's calls of the global operator new. A test program that
// links tests/support/allocation_counter.cpp replaces operator new with a
// counting one; it must link the library's static archive, since the calls
// made inside a DLL never reach a replacement in the program.
#ifndef MORVANE_TESTS_SUPPORT_ALLOCATION_COUNTER_H_
#define MORVANE_TESTS_SUPPORT_ALLOCATION_COUNTER_H_

#include <cstddef>

namespace morvane::testing {

// Allocations made so far by operator new and operator new[].
int Allocations();

// The size that the latest of them asked for.
std::size_t LastAllocationSize();

}  // namespace morvane::testing

#endif  // MORVANE_TESTS_SUPPORT_ALLOCATION_COUNTER_H_
