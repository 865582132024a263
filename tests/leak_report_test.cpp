// The leak report and the debugger channel as a process sees them. Each run
// is a child process (a death test's) that loads the library itself and
// allocates in a fresh directory, whose leak log and channel.txt the test
// reads once the child has closed the library or exited. The test program
// does not link the library, so that closing it in the child unloads it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/loaded_library.h"

namespace {

constexpr char kLogHead[] =
    "[qmx] mem_manager\n::::::::::::::::::::::::::::::::::::::::::\n"
    "timestamp: <>\n\n\noverall size of memory leaks   = %8d byte\n"
    "num of memory leaks            = %8d \n\n";
constexpr char kLogBlock[] =
    ",------------------------------------------------------------[mem leak]\n"
    "|   size    = %d\n|   src     = %s\n|   line    = %d\n|   pointer = %s\n"
    "'-------------------------------------------------------------------\n\n";
constexpr char kDebugTotals[] =
    "[qmx] overall size of memory leaks      = %8d bytes\n"
    "[qmx] num of memory leaks               = %8d \n\n";
constexpr char kDebugBlock[] = "%-60s : memleak -> size(%4i)  ptr(%s) [qmx].\n";
constexpr char kDebugSummary[] =
    "manager <> ,manager memorysize:%d , size %d, varcount: %d "
    ",logfile:bmemlog.log";

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[4096];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

// A file's bytes; asctime's timestamp and the manager's address read "<>".
std::string Read(const std::filesystem::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path).rdbuf();  // text mode: no "\r" on Windows
  const std::regex varying(R"((timestamp: )[\w :]{24}|(manager )[\da-f]+)");
  return std::regex_replace(bytes.str(), varying, "$1$2<>");
}

using Block = std::tuple<int, int, std::string>;  // size, line, file
// A label; whether a directory stands where the log goes (else an old log);
// MORVANE_DEBUG_OUTPUT; whether the library is closed before the exit; the
// blocks, oldest first.
using Run =
    std::tuple<const char*, bool, std::string, bool, std::vector<Block>>;

class LeakReport : public testing::TestWithParam<Run> {};

TEST_P(LeakReport, LogAndDebuggerLines) {
  const auto& [label, log_is_directory, channel, close, blocks] = GetParam();
  const std::filesystem::path dir = label;  // kept after the run, for a look
  // The child writes the blocks' addresses to its standard error, which goes
  // to channel.txt, before any debugger line.
  const auto child = [&] {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(log_is_directory ? dir / "bmemlog.log"
                                                         : dir);
    std::filesystem::current_path(dir);
    std::ofstream("bmemlog.log") << "old\n";  // not where a directory stands
    std::string setting = "MORVANE_DEBUG_OUTPUT=" + channel;
    putenv(setting.data());  // lives on: the child ends in exit
    if (!std::freopen("channel.txt", "a", stderr)) std::_Exit(1);
    void* library = OpenLibrary(MORVANE_LIBRARY_FILE);
    // _b_new has C++ linkage: this is its linker name.
    auto* b_new = reinterpret_cast<void* (*)(unsigned, const char*, int)>(
        FindSymbol(library, "_Z6_b_newjPKci"));
    for (const auto& [size, line, file] : blocks)
      std::cerr << std::hex
                << reinterpret_cast<std::uintptr_t>(
                       b_new(size, file.c_str(), line))
                << ' ';
    std::cerr << '\n';
    // A closed library leaves its blocks unreachable, and a block
    // of size 0 is reachable only past its end: such runs skip the
    // leak checks at exit.
    if (close) CloseLibrary(library), std::_Exit(0);
    std::exit(0);
  };
  EXPECT_EXIT(child(), testing::ExitedWithCode(0), "");
  std::ifstream addresses(dir / "channel.txt");
  std::string pointer, pointers, log, debug;
  int used = 0, overhead = 0;                      // usedmem, memorysize
  for (const auto& [size, line, file] : blocks) {  // reported newest first
    addresses >> pointer;
    pointers += pointer + ' ';
    used += size;
    // A record (two pointers, two ints), a node (four pointers), the name.
    overhead += 6 * sizeof(void*) + 2 * sizeof(int) + file.size() + 1;
    log.insert(0, Format(kLogBlock, size, file.c_str(), line, pointer.c_str()));
    const std::string source = file + " (" + std::to_string(line) + ")";
    debug.insert(0, Format(kDebugBlock, source.c_str(), size, pointer.c_str()));
  }
  // The log and the two totals come together, when the log can be opened.
  const int count = static_cast<int>(blocks.size());
  std::string log_file = log_is_directory ? "" : "old\n";
  if (count > 0 && !log_is_directory) {
    log_file = Format(kLogHead, used, count) + log + "---\nEOF\n";
    debug.insert(0, Format(kDebugTotals, used, count));
  }
  // Each message ends with a line end, appended to what was there.
  debug += count ? Format(kDebugSummary, overhead, used, count) : "manager <>";
  EXPECT_EQ(Read(dir / "bmemlog.log"), log_file);
  EXPECT_EQ(Read(dir / "channel.txt"),
            pointers + "\n" + (channel.empty() ? "" : debug + "\n"));
}

const std::string kWide(60, 'w'), kHuge(2000, 'h');  // the lines never cut
// clang-format off
const Run kRuns[] = {
    {"NothingLive", false, "channel.txt", true, {}},
    {"AtExit", false, "stderr", false, {{123456, 0, ""}, {7, 2147483647, "k"}}},
    {"AtClose", false, "channel.txt", true, {{0, 5, kWide}, {0, 6, kHuge}}},
    {"LogUnwritable", true, "channel.txt", false, {{1, -2, "a.c"}, {3, 4, "b"}}},
    {"Muted", false, "", false, {{8, 9, "x"}}},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Runs, LeakReport, testing::ValuesIn(kRuns),
                         [](auto& run) { return std::get<0>(run.param); });

}  // namespace
