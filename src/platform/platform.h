// The few system facilities the library needs. platform.cpp implements
// them once for every platform over the system calls of os.h, which
// platform_posix.cpp and platform_windows.cpp provide (CMake compiles one of
// the two). Nothing outside src/platform/ calls the system for these
// directly, and the layer uses nothing of the library above it.
//
// The system calls that a test may want to fail (the debugger channel, the
// failed-check display, loading, the working directory, the file search) go
// through the table returned by Calls(), a seam (seam.h): a test replaces
// one entry and restores it from DefaultCalls(). The formatting and path
// helpers below it are plain functions, and the lock (lock.h) is a type of
// its own.
#ifndef MORVANE_SRC_PLATFORM_PLATFORM_H_
#define MORVANE_SRC_PLATFORM_PLATFORM_H_

#include <morvane/module_handle.h>

#include <cstdarg>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/seam.h"

namespace morvane::platform {

// Why a load failed: the system's text, which names the file, and whether the
// file was there (so that the text tells why a file would not load rather
// than that it was missing): on POSIX a regular file of that name exists; on
// Windows the error is not one of the system's not-found errors.
struct LoadFailure {
  std::string text;
  bool file_exists = false;
};

struct SystemCalls {
  // Sends one message to the debugger channel. On Windows:
  // OutputDebugStringA, unchanged. Also (the only destination on POSIX) the
  // destination that MORVANE_DEBUG_OUTPUT names when the message is sent
  // (unset or empty: discarded; "stderr": standard error; anything else: a
  // file, appended to), as one whole line in one write: a line end is added
  // when the message does not end with one.
  void (*debug_output)(const char* text);

  // Shows the text of a failed internal check with the caption
  // "Assert message" (a message box on Windows; on POSIX standard error
  // receives "Assert message: <text>\n"), then aborts. Never returns; use
  // FailCheck() below, which says so to the compiler.
  void (*fail_check)(const char* text);

  // Loads a dynamic library; null when it cannot be loaded.
  HINSTANCE (*load_library)(const char* name);
  // Releases a module; true when the system released it.
  bool (*free_library)(HINSTANCE module);

  // The process's working directory, whatever its length; empty on failure.
  std::string (*get_cwd)();
  // Makes `path` the working directory; true on success.
  bool (*set_cwd)(const char* path);

  // The bare names of the entries of the working directory that match
  // `pattern` ('*' any run of characters, '?' any one character, every other
  // character only itself), in the order the system's search delivers them
  // (sorted by byte order on POSIX).
  std::vector<std::string> (*find_files)(const char* pattern);

  // The address of the symbol `name` (not null) that `module` (not null)
  // exports (dlsym, GetProcAddress); null when it exports none.
  void* (*find_symbol)(HINSTANCE module, const char* name);
  // Why the latest load_library call that returned null failed. On POSIX:
  // dlerror's text ("<file>: <reason>"). On Windows: the name, ": " and the
  // system's message for GetLastError() (FormatMessage). An empty name,
  // which no system is asked to load, gives "empty library name".
  LoadFailure (*load_failure)();
};

namespace platform_detail {
extern Seam<SystemCalls> calls;
}  // namespace platform_detail

// The live table, starting as DefaultCalls(). Tests may overwrite entries and
// must restore them.
inline SystemCalls& Calls() { return platform_detail::calls.Live(); }

// The platform's own functions, for restoring entries.
inline const SystemCalls& DefaultCalls() {
  return platform_detail::calls.Defaults();
}

// Calls().fail_check(text), and aborts should a replaced entry return.
[[noreturn]] inline void FailCheck(const char* text) {
  Calls().fail_check(text);
  std::abort();
}

// vsnprintf's contract over the C runtime's own formatter (on Windows
// msvcrt's, with its conversions and its text): writes at most `room` - 1
// characters and a terminator (`room` > 0), and returns the length of the
// whole text, which exceeds `room` - 1 when the text was cut. A negative
// result means that the text cannot be rendered at all: an output error (a
// wide character without a multibyte form) or a text longer than INT_MAX
// characters.
int FormatText(char* dst, std::size_t room, const char* format, va_list args);

// Renders `value` as the C runtime's own sprintf does with the format "%g"
// (`conversion` 'g') or "%f" (any other `conversion`), with snprintf's
// contract: at most `room` - 1 characters and a terminator (`room` > 0);
// returns the length of the whole text, which exceeds `room` - 1 when the
// text was cut, or a negative value when it cannot be rendered. On Windows
// that is the Microsoft runtime's text ("1e+010", "1.#INF00"), elsewhere the
// C library's.
int RenderDouble(char* dst, size_t room, char conversion, double value);

// The sizes of _splitpath's buffers, terminator included: the drive's, and
// that of the directory, the file name and the extension each.
inline constexpr std::size_t kDriveRoom = 3;
inline constexpr std::size_t kPartRoom = 256;

// Splits `path` with the C runtime's own _splitpath, each non-null buffer
// (kDriveRoom bytes for `drive`, kPartRoom for the others) receiving its
// part, where the runtime has one and takes this path; returns false, having
// written nothing, where it does not: always on POSIX, which has none, and on
// Windows for a path that could outgrow the buffers.
bool RuntimeSplitPath(const char* path, char* drive, char* dir, char* fname,
                      char* ext);

}  // namespace morvane::platform

#endif  // MORVANE_SRC_PLATFORM_PLATFORM_H_
