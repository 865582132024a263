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
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/os.h"
#include "platform/platform.h"

namespace morvane::platform {
namespace {

constexpr char kCaptionSeparator[] = ": ";
constexpr char kCurrentDirectory[] = ".";

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

// The working directory, whatever its length (getcwd allocates it, as the
// C libraries of Linux, the BSDs and macOS do for a null buffer); empty when
// it cannot be read.
std::string WorkingDirectory() {
  std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0),
                                                  &std::free);
  return cwd == nullptr ? std::string() : std::string(cwd.get());
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

// A relative name that names a regular file is opened by its absolute path
// (the working directory joined with the name), so that the dynamic linker,
// which takes a relative spelling it has seen before for the module it
// loaded then, compares files: two files of one name are two modules, and
// one file under two spellings stays one module. Other names go to dlopen as
// they are (a bare one through its own search).
HINSTANCE OpenLibrary(const char* name, LoadFailure& failure) {
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  struct stat st;
  const bool is_file = ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  if (is_file && path.front() != '/') {
    const std::string cwd = WorkingDirectory();
    if (!cwd.empty()) path.insert(0, cwd + '/');
  }
  HINSTANCE module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* reason = ::dlerror();
    failure = LoadFailure{reason == nullptr ? path : reason, is_file};
  }
  return module;
}

bool CloseLibrary(HINSTANCE module) {
  return module != nullptr && ::dlclose(module) == 0;
}

void* FindSymbol(HINSTANCE module, const char* name) {
  return ::dlsym(module, name);
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
