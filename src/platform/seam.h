// The one shape of the library's fault-injection seams. A seam is a table of
// named entries (function pointers) through which one part of the library
// reaches what a test may want to fail or stand in for: the system
// (platform::Calls()), the tracker's C heap (tracker::Heap()), and
// XStringBuf's formatter and buffers (strings::StringBuf()). Each seam has
//   - a struct of named entries, each commented with its contract;
//   - its default entries, a constant in the .cpp file that owns the seam;
//   - a Seam<Table> global built from them, with two inline accessors: the
//     live table (e.g. Calls()) and the defaults (e.g. DefaultCalls()).
// A test overwrites one entry of the live table, and restores it from the
// defaults afterwards.
//
// The global is constant-initialised (its constructor is constexpr and its
// argument a constant), so every seam is ready before any static initialiser
// runs: the tracker allocates while the library is being loaded. A caller
// that wants the default entry's speed compares the live entry with the
// default function and calls that directly (tracker/heap.h).
//
// Thread-safety: a plain global. Tests swap entries only while no other
// thread uses the library.
#ifndef MORVANE_SRC_PLATFORM_SEAM_H_
#define MORVANE_SRC_PLATFORM_SEAM_H_

namespace morvane::platform {

template <typename Table>
class Seam {
 public:
  constexpr explicit Seam(const Table& defaults)
      : live_(defaults), defaults_(defaults) {}
  Seam(const Seam&) = delete;
  Seam& operator=(const Seam&) = delete;

  // The entries in use, which tests may overwrite.
  Table& Live() { return live_; }
  // The entries the seam starts with.
  const Table& Defaults() const { return defaults_; }

 private:
  Table live_;
  const Table defaults_;
};

}  // namespace morvane::platform

#endif  // MORVANE_SRC_PLATFORM_SEAM_H_
