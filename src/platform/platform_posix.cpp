// POSIX stand-ins for the Windows facilities the library is specified over.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "strings/path_rules.h"

namespace morvane::platform {
namespace {

constexpr const char kDebugOutputVariable[] = "MORVANE_DEBUG_OUTPUT";
constexpr const char kDebugToStderr[] = "stderr";
constexpr const char kFailCaption[] = "Assert message";
constexpr char kGeneralFormat[] = "%g";
constexpr char kFixedFormat[] = "%f";
// printf's precision when a conversion names none.
constexpr int kDefaultPrecision = 6;
// Room for the longest "%f" text of a finite double: a sign, 309 digits, the
// point and six decimals.
constexpr size_t kLongestFixed = 320;

bool DecimalPointIsPeriod() {
  const char* point = std::localeconv()->decimal_point;
  return point[0] == '.' && point[1] == '\0';
}

void WriteAll(int fd, const char* text, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, text, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    text += n;
    size -= static_cast<size_t>(n);
  }
}

void DebugOutput(const char* text) {
  const char* target = std::getenv(kDebugOutputVariable);
  if (target == nullptr || *target == '\0') return;
  size_t size = std::strlen(text);
  if (std::strcmp(target, kDebugToStderr) == 0) {
    WriteAll(STDERR_FILENO, text, size);
    return;
  }
  int fd = ::open(target, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  WriteAll(fd, text, size);
  ::close(fd);
}

void ShowFailedCheck(const char* text) {
  std::string line = std::string(kFailCaption) + ": " + text + "\n";
  WriteAll(STDERR_FILENO, line.data(), line.size());
  std::abort();
}

// A bare name that names a file in the working directory is loaded from
// there, as Windows would; dlopen alone would search only the library path.
// An empty name loads nothing (dlopen would hand back the program itself).
HINSTANCE LoadLibrary(const char* name) {
  if (*name == '\0') return nullptr;
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.find('/') == std::string::npos) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
      path.insert(0, "./");
  }
  return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

bool FreeLibrary(HINSTANCE module) {
  return module != nullptr && ::dlclose(module) == 0;
}

std::string GetCwd() {
  std::vector<char> buffer(512);
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size()) != nullptr)
      return std::string(buffer.data());
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

bool SetCwd(const char* path) { return ::chdir(path) == 0; }

std::vector<std::string> FindFiles(const char* pattern) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(".");
  if (dir == nullptr) return names;
  while (const dirent* entry = ::readdir(dir)) {
    if (::fnmatch(pattern, entry->d_name, 0) == 0)
      names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

constexpr SystemCalls kDefaultCalls = {
    DebugOutput, ShowFailedCheck, LoadLibrary, FreeLibrary,
    GetCwd,      SetCwd,          FindFiles,
};

}  // namespace

const SystemCalls& DefaultCalls() { return kDefaultCalls; }

int FormatBounded(char* dst, int count, const char* format, va_list args) {
  if (count < 0) return -1;
  // vsnprintf always terminates; give it the byte after `count` so that a
  // text of exactly `count` characters still fits.
  int needed =
      std::vsnprintf(dst, static_cast<size_t>(count) + 1, format, args);
  if (needed < 0) {
    // An output error (a wide character without a multibyte form) is not a
    // text too long for `count`: more room would never help.
    dst[0] = '\0';
    return 0;
  }
  if (needed > count) return -1;
  return needed;
}

int RenderDouble(char* dst, size_t room, char conversion, double value) {
  const std::chars_format style =
      conversion == 'g' ? std::chars_format::general : std::chars_format::fixed;
  // For a finite value and printf's default precision, std::to_chars writes
  // the C library's text (both round exactly), without the C library's
  // general machinery: much faster. Its decimal point is always the period.
  if (std::isfinite(value) && DecimalPointIsPeriod()) {
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
  return std::snprintf(
      dst, room, conversion == 'g' ? kGeneralFormat : kFixedFormat, value);
}

void SplitPath(const char* path, char* drive, char* dir, char* fname,
               char* ext) {
  strings::SplitPathByRules(path, drive, dir, fname, ext);
}

}  // namespace morvane::platform
