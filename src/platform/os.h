// The system calls beneath the platform layer. platform_posix.cpp and
// platform_windows.cpp each define all of them (CMake compiles one of the
// two); only platform.cpp, which holds what both platforms share, calls them.
#ifndef MORVANE_SRC_PLATFORM_OS_H_
#define MORVANE_SRC_PLATFORM_OS_H_

#include <morvane/module_handle.h>

#include <cstdarg>
#include <cstddef>
#include <string>
#include <vector>

namespace morvane::platform {
struct LoadFailure;  // platform.h
}  // namespace morvane::platform

namespace morvane::platform::os {

// Hands `text` to an attached debugger (OutputDebugStringA); does nothing
// where the system has no such channel.
void SendToDebugger(const char* text);

// Writes the `size` bytes at `text` to standard error (descriptor 2, so that
// a redirection made by the program is honoured); stops at a failed write.
void WriteToStderr(const char* text, std::size_t size);

// Appends the `size` bytes at `text` to the file at `path`, creating it when
// missing. The file is opened for appending only, so each write lands at its
// current end even when several processes share it. Does nothing when the
// file cannot be opened; stops at a failed write.
void AppendToFile(const char* path, const char* text, std::size_t size);

// Shows `text` to the user under `caption`: a message box on Windows; on
// POSIX standard error receives "<caption>: <text>\n". Returns.
void ShowMessage(const char* caption, const char* text);

// Loads the dynamic library `name` (not empty); null when it cannot be
// loaded, with `failure` then filled in (SystemCalls::load_failure in
// platform.h says how).
HINSTANCE OpenLibrary(const char* name, LoadFailure& failure);
// Releases `module`; true when the system released it.
bool CloseLibrary(HINSTANCE module);
// The contract of SystemCalls::find_symbol (platform.h).
void* FindSymbol(HINSTANCE module, const char* name);

// getcwd's contract: true when the working directory and its terminator fit
// the `size` bytes at `buffer` (and are written there); on false, errno is
// ERANGE when more room would help.
bool ReadCwd(char* buffer, std::size_t size);
// Makes `path` the working directory; true on success.
bool ChangeDirectory(const char* path);

// The contract of SystemCalls::find_files (platform.h).
std::vector<std::string> FindFiles(const char* pattern);

// vsnprintf's contract, over the C runtime's own formatter (on Windows
// msvcrt's, with its conversions and its text): writes at most `room` - 1
// characters and a terminator (`room` > 0); returns the length of the whole
// text, which exceeds `room` - 1 when it was cut, or a negative value on an
// output error.
int FormatText(char* dst, std::size_t room, const char* format, va_list args);

// Whether the C runtime writes "%g" and "%f" of a finite double exactly
// rounded, as std::to_chars does: the POSIX C libraries do; msvcrt does not
// ("1e+010", and digits past the seventeenth that are not the value's).
#ifdef _WIN32
inline constexpr bool kRuntimeMatchesToChars = false;
#else
inline constexpr bool kRuntimeMatchesToChars = true;
#endif

// platform::RuntimeSplitPath: the C runtime's own _splitpath, where there is
// one and it takes this path; false, having written nothing, elsewhere.
bool RuntimeSplitPath(const char* path, char* drive, char* dir, char* fname,
                      char* ext);

}  // namespace morvane::platform::os

#endif  // MORVANE_SRC_PLATFORM_OS_H_
