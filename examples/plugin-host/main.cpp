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
#include <iostream>
#include <string>

#include "leaks_tool.h"
#include "steps.h"
#include "system.h"

namespace {

constexpr char kSessionFlag[] = "--session";
constexpr char kLeakLog[] = "bmemlog.log";
constexpr char kDebugOutputVariable[] = "MORVANE_DEBUG_OUTPUT";
constexpr char kDebugToStderr[] = "stderr";
constexpr char kLeakCountLabel[] = "num of memory leaks";
constexpr int kExpectedLeaks = 2;

// What each of the library's debugger lines says, for a reader who sees them.
constexpr char kDebugLinesLegend[] =
    "  ([qmx] is the tag that marks the tracker's lines)\n"
    "  [qmx] overall size of memory leaks / [qmx] num of memory leaks\n"
    "      the bytes and the blocks still allocated when the session ended\n"
    "  <file> (<line>) : memleak -> size(<bytes>)  ptr(<address>) [qmx].\n"
    "      one per leaked block, newest first: where it was allocated,\n"
    "      its size and its address (in hexadecimal, without 0x)\n"
    "  manager <address> ,manager memorysize:<bytes> , size <bytes>,\n"
    "  varcount: <blocks> ,logfile:<name>\n"
    "      the tracker's last word: its own address, the bytes of its\n"
    "      records of the leaked blocks, the bytes and the blocks leaked,\n"
    "      and the log it wrote\n"
    "  manager <address>, alone\n"
    "      the last word of a tracker with nothing to report: this\n"
    "      program's own, once it has printed everything else\n";

// What the leak log holds, line by line, for a reader who has not seen one.
constexpr char kLeakLogLegend[] =
    "  [qmx] mem_manager and a row of colons: the banner ([qmx] is the tag\n"
    "      that marks the tracker's output)\n"
    "  timestamp: when the log was written, in local time\n"
    "  overall size of memory leaks / num of memory leaks: the bytes and the\n"
    "      blocks still allocated when the session ended\n"
    "  a box per leaked block, newest first: its size, the file (as the\n"
    "      compiler named it in __FILE__) and line that allocated it, and\n"
    "      its address, in hexadecimal without 0x (the session printed the\n"
    "      same addresses under \"leaked on purpose\")\n"
    "  \"---\" and \"EOF\": the end of the log\n";

// What the summary of the log shows.
constexpr char kSummaryLegend[] =
    "  (the same log as `morvane-leaks bmemlog.log` prints it: the bytes and\n"
    "  blocks its blocks add up to, checked against the log's own totals,\n"
    "  then one row per call site, the most bytes first: here the two lines\n"
    "  of memory_step.cpp that leaked on purpose, the larger block first)\n";

// Says where the debugger lines of the report went and, when they can be
// seen, what they mean.
void DescribeDebugOutput() {
  const char* target = std::getenv(kDebugOutputVariable);
  if (target == nullptr || *target == '\0') {
    std::printf(
        "debugger lines: discarded (set %s=%s, or to a file path, "
        "to see them)\n",
        kDebugOutputVariable, kDebugToStderr);
    return;
  }
  if (std::strcmp(target, kDebugToStderr) == 0) {
    std::printf("debugger lines: on standard error, above this report\n");
  } else {
    std::printf("debugger lines: appended to %s\n", target);
  }
  std::printf("%s", kDebugLinesLegend);
}

// Prints the leak log of the working directory; returns the number of leaks
// it reports, or -1 when there is no log.
int PrintLeakLog() {
  std::filesystem::path path = std::filesystem::current_path() / kLeakLog;
  std::printf("leak log: %s\n", path.string().c_str());
  std::ifstream log(path);
  if (!log) return -1;
  std::printf("%s\n", kLeakLogLegend);
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

  std::printf("\n== the log summarised by call site ==\n%s\n", kSummaryLegend);
  std::fflush(stdout);
  if (morvane::leaks::RunLeaksTool({kLeakLog}, std::cout, std::cerr) !=
      morvane::leaks::kSummarised) {
    std::fprintf(stderr,
                 "plugin-host: the leak log did not summarise cleanly\n");
    return 1;
  }
  std::cout.flush();
  // This process's own tracker has the last word on the debugger channel,
  // after main returns; let everything printed here come before it.
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
