// The POSIX system calls under the platform layer (os.h), and the Windows
// facilities that the library's documented behaviour is written against,
// stood in for with them.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/os.h"
#include "platform/platform.h"

namespace morvane::platform {
namespace {

constexpr char kCaptionSeparator[] = ": ";
constexpr char kCurrentDirectory[] = ".";
constexpr char kCurrentDirectoryPrefix[] = "./";

void WriteAll(int fd, const char* text, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, text, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    text += n;
    size -= static_cast<size_t>(n);
  }
}

// Windows' file-search wildcards: '*' matches any run of characters and '?'
// any one; every other character, '[', ']' and '\\' included, only itself.
// (fnmatch would read "[...]" as a set and '\\' as an escape.) Backtracks only
// to the latest '*', so it runs in time proportional to the product of the
// two lengths at worst.
bool MatchesWildcards(const char* pattern, const char* name) {
  const char* star = nullptr;  // the latest '*' seen
  const char* resume = name;   // where that '*' match would grow next
  while (*name != '\0') {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern != '\0' && (*pattern == '?' || *pattern == *name)) {
      ++pattern;
      ++name;
    } else if (star != nullptr) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

}  // namespace

namespace os {

void SendToDebugger(const char* /*text*/) {}

void WriteToStderr(const char* text, size_t size) {
  WriteAll(STDERR_FILENO, text, size);
}

void AppendToFile(const char* path, const char* text, size_t size) {
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  WriteAll(fd, text, size);
  ::close(fd);
}

void ShowMessage(const char* caption, const char* text) {
  const std::string line =
      std::string(caption) + kCaptionSeparator + text + "\n";
  WriteAll(STDERR_FILENO, line.data(), line.size());
}

// A bare name that names a file in the working directory is loaded from
// there, as Windows would; dlopen alone would search only the library path.
HINSTANCE OpenLibrary(const char* name) {
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.find('/') == std::string::npos) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
      path.insert(0, kCurrentDirectoryPrefix);
  }
  return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

bool CloseLibrary(HINSTANCE module) {
  return module != nullptr && ::dlclose(module) == 0;
}

bool ReadCwd(char* buffer, size_t size) {
  return ::getcwd(buffer, size) != nullptr;
}

bool ChangeDirectory(const char* path) { return ::chdir(path) == 0; }

std::vector<std::string> FindFiles(const char* pattern) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(kCurrentDirectory);
  if (dir == nullptr) return names;
  while (const dirent* entry = ::readdir(dir)) {
    if (MatchesWildcards(pattern, entry->d_name))
      names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

int FormatText(char* dst, size_t room, const char* format, va_list args) {
  return std::vsnprintf(dst, room, format, args);
}

// The C library has no _splitpath: the library's rules split every path.
bool RuntimeSplitPath(const char* /*path*/, char* /*drive*/, char* /*dir*/,
                      char* /*fname*/, char* /*ext*/) {
  return false;
}

}  // namespace os

}  // namespace morvane::platform
