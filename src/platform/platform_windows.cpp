// The Windows system calls and C runtime functions under the platform layer
// (os.h).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <direct.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/lock.h"
#include "platform/os.h"
#include "platform/platform.h"

namespace morvane::platform {
namespace {

constexpr int kStderrDescriptor = 2;

// Closes a file handle on scope exit.
struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

constexpr char kReasonSeparator[] = ": ";
// Room for a system message; a longer one is cut.
constexpr DWORD kMessageRoom = 512;

// The system's text for the error `code`, without its line end; the code in
// decimal when the system has no text for it.
std::string SystemMessage(DWORD code) {
  char text[kMessageRoom];
  DWORD size = ::FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      0, text, kMessageRoom, nullptr);
  while (size > 0 && (text[size - 1] == '\n' || text[size - 1] == '\r' ||
                      text[size - 1] == ' '))
    --size;
  if (size == 0) return std::to_string(code);
  return std::string(text, size);
}

}  // namespace

namespace os {

void SendToDebugger(const char* text) { ::OutputDebugStringA(text); }

void WriteToStderr(const char* text, size_t size) {
  while (size > 0) {
    unsigned int chunk =
        static_cast<unsigned int>(std::min<size_t>(size, INT_MAX));
    int n = ::_write(kStderrDescriptor, text, chunk);
    if (n <= 0) return;
    text += n;
    size -= static_cast<size_t>(n);
  }
}

void AppendToFile(const char* path, const char* text, size_t size) {
  HANDLE raw =
      ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return;
  UniqueHandle file(raw);
  while (size > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, MAXDWORD));
    DWORD written = 0;
    if (!::WriteFile(file.get(), text, chunk, &written, nullptr) ||
        written == 0)
      return;
    text += written;
    size -= written;
  }
}

void ShowMessage(const char* caption, const char* text) {
  ::MessageBoxA(nullptr, text, caption, MB_OK);
}

// The name is given to the system unchanged: a bare name reaches a loaded
// module of that base name before any file.
HINSTANCE OpenLibrary(const char* name, LoadFailure& failure) {
  HINSTANCE module = ::LoadLibraryA(name);
  if (module == nullptr) {
    const DWORD code = ::GetLastError();
    failure = LoadFailure{
        std::string(name) + kReasonSeparator + SystemMessage(code),
        code != ERROR_MOD_NOT_FOUND && code != ERROR_FILE_NOT_FOUND &&
            code != ERROR_PATH_NOT_FOUND};
  }
  return module;
}

bool CloseLibrary(HINSTANCE module) { return ::FreeLibrary(module) != 0; }

void* FindSymbol(HINSTANCE module, const char* name) {
  return reinterpret_cast<void*>(::GetProcAddress(module, name));
}

bool ReadCwd(char* buffer, size_t size) {
  return ::_getcwd(buffer, static_cast<int>(size)) != nullptr;
}

bool ChangeDirectory(const char* path) { return ::_chdir(path) == 0; }

std::vector<std::string> FindFiles(const char* pattern) {
  std::vector<std::string> names;
  _finddata_t entry;
  intptr_t search = ::_findfirst(pattern, &entry);
  if (search == -1) return names;
  do {
    names.emplace_back(entry.name);
  } while (::_findnext(search, &entry) == 0);
  ::_findclose(search);
  return names;
}

// The runtime's own _vsnprintf (msvcrt's conversions: %I64d, no %zu; its
// exponents have three digits, "1e+010", and its infinities read
// "1.#INF00"), not the C99 replacement that MinGW's vsnprintf is in C++
// programs. It returns -1 both for a text that does not fit and for an
// output error (a wide character without a multibyte form); _vscprintf
// tells them apart, as it measures the whole text and fails only on an
// output error.
int FormatText(char* dst, size_t room, const char* format, va_list args) {
  va_list probe;
  va_copy(probe, args);
  int size = ::_vsnprintf(dst, room - 1, format, args);
  if (size >= 0) {
    dst[size] = '\0';
  } else {
    dst[room - 1] = '\0';
    size = ::_vscprintf(format, probe);
  }
  va_end(probe);
  return size;
}

// The CRT's _splitpath, for every path whose parts cannot outgrow their
// buffers. A longer path is refused: some runtimes (wine's among them) return
// all its parts empty rather than cut them to their buffers.
bool RuntimeSplitPath(const char* path, char* drive, char* dir, char* fname,
                      char* ext) {
  if (std::strlen(path) >= kPartRoom) return false;
  ::_splitpath(path, drive, dir, fname, ext);
  return true;
}

}  // namespace os

#if MORVANE_THREAD_SAFE
// Lock keeps the SRWLOCK's one word without including <windows.h>.
static_assert(sizeof(SRWLOCK) == sizeof(void*));
static_assert(alignof(SRWLOCK) == alignof(void*));

void Lock::Acquire() noexcept {
  ::AcquireSRWLockExclusive(reinterpret_cast<SRWLOCK*>(&srwlock_));
}
void Lock::Release() noexcept {
  ::ReleaseSRWLockExclusive(reinterpret_cast<SRWLOCK*>(&srwlock_));
}
#endif

}  // namespace morvane::platform
