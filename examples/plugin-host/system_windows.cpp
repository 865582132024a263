// Windows side of the host's system calls: GetModuleFileNameA, _spawnv.
#include <process.h>
#include <windows.h>

#include <cstdint>

#include "system.h"

namespace demo {
namespace {

// _spawnv joins its arguments with spaces; quote the ones that need it so
// that the child sees each argument whole.
std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
    return arg;
  std::string quoted = "\"";
  int backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote is escaped.
    quoted.append(
        static_cast<size_t>(c == '"' ? 2 * backslashes + 1 : backslashes),
        '\\');
    backslashes = 0;
    quoted += c;
  }
  // Backslashes before the closing quote are doubled.
  quoted.append(static_cast<size_t>(2 * backslashes), '\\');
  quoted += '"';
  return quoted;
}

}  // namespace

std::string ExecutablePath(const char* argv0) {
  char buffer[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return argv0;
  return std::string(buffer, n);
}

int RunAndWait(const std::string& program,
               const std::vector<std::string>& args) {
  std::vector<std::string> quoted;
  for (const std::string& arg : args) quoted.push_back(Quote(arg));
  std::vector<const char*> argv;
  for (const std::string& arg : quoted) argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  intptr_t rc = ::_spawnv(_P_WAIT, program.c_str(), argv.data());
  return rc < 0 ? -1 : static_cast<int>(rc);
}

}  // namespace demo
