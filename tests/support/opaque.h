// A null pointer the optimiser cannot see, for tests that pass one on purpose
// (a known null argument draws -Wformat-overflow or -Wnonnull warnings).
#ifndef MORVANE_TESTS_SUPPORT_OPAQUE_H_
#define MORVANE_TESTS_SUPPORT_OPAQUE_H_

namespace morvane::testing {

void* OpaqueNull();  // null, from another translation unit

template <class T>
T* Null() {
  return static_cast<T*>(OpaqueNull());
}

}  // namespace morvane::testing

#endif  // MORVANE_TESTS_SUPPORT_OPAQUE_H_
