// What every platform shares: the routing of the debugger channel, the
// working directory of any length, the failed-check display, formatting and
// the runtime's path splitting, over the system calls of os.h.
#include "platform/platform.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/os.h"

namespace morvane::platform {
namespace {

constexpr char kDebugOutputVariable[] = "MORVANE_DEBUG_OUTPUT";
constexpr char kDebugToStderr[] = "stderr";
constexpr char kFailCaption[] = "Assert message";
constexpr char kGeneralFormat[] = "%g";
constexpr char kFixedFormat[] = "%f";
// printf's precision when a conversion names none.
constexpr int kDefaultPrecision = 6;
// Room for the longest "%f" text of a finite double: a sign, 309 digits, the
// point and six decimals.
constexpr size_t kLongestFixed = 320;
// The first buffer offered to the working directory; it doubles until the
// path fits.
constexpr size_t kFirstCwdRoom = 512;

// The line end is added so that the next message starts a line of its own
// (also the next run's, in a file).
void DebugOutput(const char* text) {
  os::SendToDebugger(text);
  const char* target = std::getenv(kDebugOutputVariable);
  if (target == nullptr || *target == '\0') return;
  std::string line(text);
  if (line.empty() || line.back() != '\n') line += '\n';
  if (std::strcmp(target, kDebugToStderr) == 0) {
    os::WriteToStderr(line.data(), line.size());
  } else {
    os::AppendToFile(target, line.data(), line.size());
  }
}

void ShowFailedCheck(const char* text) {
  os::ShowMessage(kFailCaption, text);
  std::abort();
}

// The reason given for an empty name.
constexpr char kEmptyNameReason[] = "empty library name";

// Why the latest LoadLibraryByName call that returned null failed.
LoadFailure& StoredLoadFailure() {
  static LoadFailure failure;
  return failure;
}

// An empty name loads nothing on any system (dlopen would hand back the
// program itself).
HINSTANCE LoadLibraryByName(const char* name) {
  if (*name == '\0') {
    StoredLoadFailure() = LoadFailure{kEmptyNameReason, false};
    return nullptr;
  }
  return os::OpenLibrary(name, StoredLoadFailure());
}

LoadFailure LastLoadFailure() { return StoredLoadFailure(); }

std::string GetCwd() {
  std::string buffer(kFirstCwdRoom, '\0');
  for (;;) {
    if (os::ReadCwd(buffer.data(), buffer.size()))
      return std::string(buffer.c_str());
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

constexpr SystemCalls kDefaultCalls = {
    DebugOutput,      ShowFailedCheck, LoadLibraryByName,
    os::CloseLibrary, GetCwd,          os::ChangeDirectory,
    os::FindFiles,    os::FindSymbol,  LastLoadFailure,
};

// os::FormatText with the arguments given directly.
int FormatValue(char* dst, size_t room, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int size = os::FormatText(dst, room, format, args);
  va_end(args);
  return size;
}

bool DecimalPointIsPeriod() {
  const char* point = std::localeconv()->decimal_point;
  return point[0] == '.' && point[1] == '\0';
}

// The C runtime's text of a finite `value` where it is std::to_chars's (see
// os::kRuntimeMatchesToChars), which writes it without the runtime's general
// machinery: much faster. Its decimal point is always the period.
int RenderWithToChars(char* dst, size_t room, std::chars_format style,
                      double value) {
  std::to_chars_result result =
      std::to_chars(dst, dst + room - 1, value, style, kDefaultPrecision);
  if (result.ec == std::errc()) {
    *result.ptr = '\0';
    return static_cast<int>(result.ptr - dst);
  }
  char whole[kLongestFixed];
  result = std::to_chars(whole, whole + sizeof whole, value, style,
                         kDefaultPrecision);
  const size_t size = static_cast<size_t>(result.ptr - whole);
  const size_t kept = std::min(size, room - 1);
  std::memcpy(dst, whole, kept);
  dst[kept] = '\0';
  return static_cast<int>(size);
}

}  // namespace

// Constant-initialised (seam.h): ready before any static initialiser runs.
Seam<SystemCalls> platform_detail::calls(kDefaultCalls);

int FormatText(char* dst, size_t room, const char* format, va_list args) {
  return os::FormatText(dst, room, format, args);
}

int RenderDouble(char* dst, size_t room, char conversion, double value) {
  const bool general = conversion == 'g';
  if constexpr (os::kRuntimeMatchesToChars) {
    if (std::isfinite(value) && DecimalPointIsPeriod()) {
      return RenderWithToChars(
          dst, room,
          general ? std::chars_format::general : std::chars_format::fixed,
          value);
    }
  }
  return FormatValue(dst, room, general ? kGeneralFormat : kFixedFormat, value);
}

bool RuntimeSplitPath(const char* path, char* drive, char* dir, char* fname,
                      char* ext) {
  return os::RuntimeSplitPath(path, drive, dir, fname, ext);
}

}  // namespace morvane::platform
