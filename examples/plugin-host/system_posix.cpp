// POSIX side of the host's system calls: /proc/self/exe, posix_spawn.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "system.h"

extern char** environ;

namespace demo {

std::string ExecutablePath(const char* argv0) {
  std::vector<char> buffer(4096);
  ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return argv0;
  return std::string(buffer.data(), static_cast<size_t>(n));
}

int RunAndWait(const std::string& program,
               const std::vector<std::string>& args) {
  // A program that runs under a user-mode emulator (the 32-bit Linux build's
  // tests run under qemu-i386) can start another one for its architecture
  // only through the emulator again; the build names it in this variable.
  const char* launcher = std::getenv("MORVANE_DEMO_LAUNCHER");
  std::string path = program;
  std::vector<char*> argv;
  if (launcher != nullptr && *launcher != '\0') {
    path = launcher;
    argv.push_back(const_cast<char*>(launcher));
  }
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(),
                    environ) != 0)
    return -1;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace demo
