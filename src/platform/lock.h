// The lock that makes the library's shared state safe under threads in a
// build with the CMake option MORVANE_THREAD_SAFE: the tracker's manager
// (and whatever else holds process-wide state, such as the loader's
// instance). In the default build the library takes no locks, as documented:
// Lock is empty and LockGuard compiles to nothing.
//
// With the option, Lock is the system's own mutual exclusion: a slim
// reader/writer lock (SRWLOCK, taken exclusively) on Windows, whose runtime
// needs no thread library beside the system DLLs, and std::mutex elsewhere.
// Both start unlocked without running any code, so a Lock at namespace scope
// is constant-initialised and may be taken during static initialisation.
// Neither is recursive: a thread that holds a lock must not take it again.
#ifndef MORVANE_SRC_PLATFORM_LOCK_H_
#define MORVANE_SRC_PLATFORM_LOCK_H_

#ifndef MORVANE_THREAD_SAFE
#define MORVANE_THREAD_SAFE 0
#endif

#if MORVANE_THREAD_SAFE && !defined(_WIN32)
#include <mutex>
#endif

namespace morvane::platform {

// Whether this build takes locks (MORVANE_THREAD_SAFE).
inline constexpr bool kThreadSafe = MORVANE_THREAD_SAFE;

class Lock {
 public:
  constexpr Lock() noexcept = default;
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

  // Waits until no other thread holds the lock, then holds it.
  void Acquire() noexcept;
  // Lets the lock go; only the thread that holds it may call this.
  void Release() noexcept;

 private:
#if MORVANE_THREAD_SAFE
#ifdef _WIN32
  // An SRWLOCK: one pointer-sized word, unlocked when zero (SRWLOCK_INIT).
  void* srwlock_ = nullptr;
#else
  std::mutex mutex_;
#endif
#endif
};

#if !MORVANE_THREAD_SAFE
inline void Lock::Acquire() noexcept {}
inline void Lock::Release() noexcept {}
#elif !defined(_WIN32)
// Inline: a tracked allocation takes the lock once, and the call would cost
// a noticeable part of what the lock itself costs. std::mutex::lock reports
// only a deadlock it detects or a system failure: a program error either
// way, which ends the program here (noexcept).
inline void Lock::Acquire() noexcept { mutex_.lock(); }
inline void Lock::Release() noexcept { mutex_.unlock(); }
#endif

// Holds `lock` from its construction to the end of its scope.
class LockGuard {
 public:
  explicit LockGuard(Lock& lock) noexcept : lock_(lock) { lock_.Acquire(); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;
  ~LockGuard() { lock_.Release(); }

 private:
  Lock& lock_;
};

}  // namespace morvane::platform

#endif  // MORVANE_SRC_PLATFORM_LOCK_H_
