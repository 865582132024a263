// A null pointer that the optimiser cannot see, for the tests that pass one on
// purpose: a known null argument draws warnings (-Wformat-overflow,
// -Wnonnull) from optimised builds.
#ifndef MORVANE_TESTS_SUPPORT_OPAQUE_H_
#define MORVANE_TESTS_SUPPORT_OPAQUE_H_

namespace morvane::testing {

// Null, from another translation unit.
void* OpaqueNull();

// Null, as a pointer to T.
template <class T>
T* Null() {
  return static_cast<T*>(OpaqueNull());
}

}  // namespace morvane::testing

#endif  // MORVANE_TESTS_SUPPORT_OPAQUE_H_
