// The tracker's bookkeeping bytes for one live block, as its memorysize
// total counts them: one MemStruct (two pointers, two ints), one MemNode
// (four pointers) and the block's file name with its terminator. Written
// without the tracker's types, for tests that see only the public API.
#ifndef MORVANE_TESTS_SUPPORT_BOOKKEEPING_H_
#define MORVANE_TESTS_SUPPORT_BOOKKEEPING_H_

#include <cstddef>

namespace morvane::testing {

constexpr std::size_t BookkeepingBytes(std::size_t file_name_length) {
  return 6 * sizeof(void*) + 2 * sizeof(int) + file_name_length + 1;
}

}  // namespace morvane::testing

#endif  // MORVANE_TESTS_SUPPORT_BOOKKEEPING_H_
