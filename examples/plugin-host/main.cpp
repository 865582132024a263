// plugin-host: a tour of the library as an application meets it.
//
//   plugin_host [plugin-directory [pattern]]
//
// Without arguments it loads the example plug-ins built beside it. The
// session itself runs in a child process (this program again, with
// --session): the library writes its leak report only when it unloads, after
// the child's main has returned, so the parent waits for the child and then
// shows the report.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "steps.h"
#include "system.h"

namespace {

constexpr char kSessionFlag[] = "--session";
constexpr char kLeakLog[] = "bmemlog.log";
constexpr char kDebugOutputVariable[] = "MORVANE_DEBUG_OUTPUT";
constexpr char kDebugToStderr[] = "stderr";
constexpr char kLeakCountLabel[] = "num of memory leaks";
constexpr int kExpectedLeaks = 2;

// Says where the debugger lines of the report went.
void DescribeDebugOutput() {
  const char* target = std::getenv(kDebugOutputVariable);
  if (target == nullptr || *target == '\0') {
    std::printf(
        "debugger lines: discarded (set %s=%s, or to a file path, "
        "to see them)\n",
        kDebugOutputVariable, kDebugToStderr);
  } else if (std::strcmp(target, kDebugToStderr) == 0) {
    std::printf("debugger lines: on standard error, above\n");
  } else {
    std::printf("debugger lines: appended to %s\n", target);
  }
}

// Prints the leak log of the working directory; returns the number of leaks
// it reports, or -1 when there is no log.
int PrintLeakLog() {
  std::filesystem::path path = std::filesystem::current_path() / kLeakLog;
  std::printf("leak log: %s\n\n", path.string().c_str());
  std::ifstream log(path);
  if (!log) return -1;
  int leaks = -1;
  std::string line;
  while (std::getline(log, line)) {
    std::printf("%s\n", line.c_str());
    if (line.compare(0, std::strlen(kLeakCountLabel), kLeakCountLabel) == 0) {
      std::string::size_type equals = line.find('=');
      if (equals != std::string::npos)
        leaks = std::atoi(line.c_str() + equals + 1);
    }
  }
  return leaks;
}

int RunParent(const std::string& self, const std::string& directory,
              const std::string& pattern) {
  std::remove(kLeakLog);
  std::printf("plugin-host: plug-ins from %s, pattern %s\n", directory.c_str(),
              pattern.c_str());
  std::fflush(stdout);
  int code = demo::RunAndWait(self, {self, kSessionFlag, directory, pattern});
  if (code != 0) {
    std::fprintf(stderr, "plugin-host: the session failed (exit code %d)\n",
                 code);
    return 1;
  }

  std::printf("\n== leak report ==\n");
  DescribeDebugOutput();
  int leaks = PrintLeakLog();
  if (leaks != kExpectedLeaks) {
    std::fprintf(stderr,
                 "plugin-host: expected a leak log reporting %d leaks\n",
                 kExpectedLeaks);
    return 1;
  }
  std::printf(
      "(this process has its own tracker too; it has nothing to "
      "report and says only \"manager <address>\" as it exits)\n");
  // The library's last line goes to the debugger channel after this; let
  // everything printed here come before it.
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string self = demo::ExecutablePath(argv[0]);
  bool session = argc > 1 && std::strcmp(argv[1], kSessionFlag) == 0;
  int first = session ? 2 : 1;
  std::string directory =
      argc > first
          ? argv[first]
          : (std::filesystem::path(self).parent_path() / "plugins").string();
  std::string pattern =
      argc > first + 1 ? argv[first + 1] : MORVANE_DEMO_PLUGIN_PATTERN;
  if (session) return demo::RunSession(directory, pattern);
  return RunParent(self, directory, pattern);
}
