// The few things the plug-in host needs from the operating system that the
// library does not offer. One implementation per platform (system_posix.cpp,
// system_windows.cpp); the build picks the right one.
#ifndef MORVANE_EXAMPLES_PLUGIN_HOST_SYSTEM_H_
#define MORVANE_EXAMPLES_PLUGIN_HOST_SYSTEM_H_

#include <string>
#include <vector>

namespace demo {

// The path of the running executable; `argv0` when the system cannot say.
std::string ExecutablePath(const char* argv0);

// Runs `program` with `args` (args[0] is the program's own name), waits for
// it and returns its exit code; -1 when it could not be started or did not
// exit normally. On POSIX, when MORVANE_DEMO_LAUNCHER names an emulator,
// `program` runs under it.
int RunAndWait(const std::string& program,
               const std::vector<std::string>& args);

}  // namespace demo

#endif  // MORVANE_EXAMPLES_PLUGIN_HOST_SYSTEM_H_
