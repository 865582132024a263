// The Windows system calls and C runtime functions the library is built on.
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
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/platform.h"
#include "strings/path_rules.h"

namespace morvane::platform {
namespace {

constexpr const char kDebugOutputVariable[] = "MORVANE_DEBUG_OUTPUT";
constexpr const char kDebugToStderr[] = "stderr";
constexpr const char kFailCaption[] = "Assert message";
constexpr int kStderrDescriptor = 2;
constexpr char kGeneralFormat[] = "%g";
constexpr char kFixedFormat[] = "%f";

// Closes a file handle on scope exit.
struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// Through the C runtime, so that a redirection of descriptor 2 made by the
// program (or by a test harness) is honoured.
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

// Opened for appending only, so each WriteFile lands at the current end of
// the file even when several processes share it.
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

// The debugger channel, mirrored where MORVANE_DEBUG_OUTPUT says (as on the
// other platforms), so that the lines can be read without a debugger.
void DebugOutput(const char* text) {
  ::OutputDebugStringA(text);
  const char* target = std::getenv(kDebugOutputVariable);
  if (target == nullptr || *target == '\0') return;
  size_t size = std::strlen(text);
  if (std::strcmp(target, kDebugToStderr) == 0) {
    WriteToStderr(text, size);
  } else {
    AppendToFile(target, text, size);
  }
}

void ShowFailedCheck(const char* text) {
  ::MessageBoxA(nullptr, text, kFailCaption, MB_OK);
  std::abort();
}

// An empty name loads nothing, as on the other platforms.
HINSTANCE OpenLibrary(const char* name) {
  if (*name == '\0') return nullptr;
  return ::LoadLibraryA(name);
}

bool CloseLibrary(HINSTANCE module) { return ::FreeLibrary(module) != 0; }

std::string GetCwd() {
  std::string buffer(512, '\0');
  for (;;) {
    if (::_getcwd(buffer.data(), static_cast<int>(buffer.size())) != nullptr)
      return std::string(buffer.c_str());
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

bool SetCwd(const char* path) { return ::_chdir(path) == 0; }

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

constexpr SystemCalls kDefaultCalls = {
    DebugOutput, ShowFailedCheck, OpenLibrary, CloseLibrary,
    GetCwd,      SetCwd,          FindFiles,
};

}  // namespace

const SystemCalls& DefaultCalls() { return kDefaultCalls; }

// The runtime's own _vsnprintf (msvcrt's conversions: %I64d, no %zu), not
// the C99 replacement that MinGW's vsnprintf is in C++ programs. It returns
// -1 both for a text longer than `count` and for an output error (a wide
// character without a multibyte form); _vscprintf tells them apart, as it
// measures the whole text and fails only on an output error, which more
// room would never cure.
int FormatBounded(char* dst, int count, const char* format, va_list args) {
  if (count < 0) return -1;
  va_list probe;
  va_copy(probe, args);
  int result = ::_vsnprintf(dst, static_cast<size_t>(count), format, args);
  if (result >= 0) {
    dst[result] = '\0';
  } else if (::_vscprintf(format, probe) < 0) {
    dst[0] = '\0';
    result = 0;
  }
  va_end(probe);
  return result;
}

// msvcrt's _snprintf, like every formatter of the runtime: its exponents
// have three digits ("1e+010") and its infinities read "1.#INF00". It
// returns -1 when the text does not fit; _scprintf then measures it.
int RenderDouble(char* dst, size_t room, char conversion, double value) {
  const char* format = conversion == 'g' ? kGeneralFormat : kFixedFormat;
  const int written = ::_snprintf(dst, room - 1, format, value);
  if (written >= 0) {
    dst[written] = '\0';
    return written;
  }
  dst[room - 1] = '\0';
  return ::_scprintf(format, value);
}

// The CRT's _splitpath, for every path whose parts cannot outgrow their
// buffers. For longer paths some runtimes (wine's among them) return all
// parts empty rather than cut, so those are split here by the same rules.
void SplitPath(const char* path, char* drive, char* dir, char* fname,
               char* ext) {
  if (std::strlen(path) < strings::kPartRoom) {
    ::_splitpath(path, drive, dir, fname, ext);
  } else {
    strings::SplitPathByRules(path, drive, dir, fname, ext);
  }
}

}  // namespace morvane::platform
