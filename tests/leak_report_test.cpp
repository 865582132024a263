// The leak report as a process sees it. Each run is a child process (a death
// test's) that loads the library itself, allocates in a fresh directory and
// leaves the leak log and the debugger lines there when it closes the library
// or exits. The test program does not link the library, so that closing it in
// the child unloads it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/loaded_library.h"

namespace {

namespace fs = std::filesystem;

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

// A file's bytes, or "<no file>"; asctime's timestamp and a manager's address
// of `digits` hexadecimal digits read "<>".
std::string Read(const fs::path& path, std::size_t digits = 0) {
  if (!fs::is_regular_file(path)) return "<no file>";
  std::ostringstream bytes;
  bytes << std::ifstream(path).rdbuf();  // text mode: no "\r" on Windows
  const std::regex varying(R"((timestamp: )[\w :]{24}|(manager )[\da-f]{)" +
                           std::to_string(digits) + "}");
  return std::regex_replace(bytes.str(), varying, "$1$2<>");
}

using Block = std::tuple<int, int, std::string>;   // size, line, file
enum Before { kNothing, kOldLog, kLogDirectory };  // in the directory
// What the directory holds before; whether the library is closed before the
// exit; the blocks, oldest first.
using Run = std::tuple<Before, bool, std::vector<Block>>;

// The child: prepares `dir`, loads the library, moves into `dir`, sends the
// debugger lines to debugger.txt and allocates the blocks. out.txt receives
// the addresses of _b_new and of each block, and at a close two digits: the
// library was released, and the leak log existed right after.
[[noreturn]] void RunChild(const fs::path& dir, const Run& run) {
  const auto& [before, close, blocks] = run;
  fs::remove_all(dir);
  fs::create_directories(before == kLogDirectory ? dir / "bmemlog.log" : dir);
  if (before == kOldLog) std::ofstream(dir / "bmemlog.log") << "old log\n";
  void* library = OpenLibrary(MORVANE_LIBRARY_FILE);
  // _b_new has C++ linkage: this is its linker name.
  auto* b_new = reinterpret_cast<void* (*)(unsigned, const char*, int)>(
      FindSymbol(library, "_Z6_b_newjPKci"));
  fs::current_path(dir);
  putenv(const_cast<char*>("MORVANE_DEBUG_OUTPUT=debugger.txt"));
  std::ofstream out("out.txt");  // written at once: the child ends in exit
  out << std::unitbuf << std::hex << reinterpret_cast<std::uintptr_t>(b_new);
  for (const auto& [size, line, file] : blocks)
    out << ' '
        << reinterpret_cast<std::uintptr_t>(b_new(size, file.c_str(), line));
  if (close) out << ' ' << CloseLibrary(library) << fs::exists("bmemlog.log");
  // A closed library leaves its blocks unreachable, and a block of size 0 is
  // reachable only past its end: such runs skip the leak checks at the exit.
  close ? std::_Exit(0) : std::exit(0);
}

class LeakReport : public ::testing::TestWithParam<Run> {};

TEST_P(LeakReport, LogAndDebuggerLines) {
  const auto& [before, close, blocks] = GetParam();
  // The same in a death test's child that runs the test again from the start.
  // The directory stays after the run, for a look; the next run renews it.
  const fs::path dir =
      ::testing::UnitTest::GetInstance()->current_test_info()->name();
  ASSERT_EXIT(RunChild(dir, GetParam()), ::testing::ExitedWithCode(0), "");
  std::istringstream out_text(Read(dir / "out.txt"));
  std::vector<std::string> out;  // _b_new, the blocks, then at a close
  for (std::string word; out_text >> word;) out.push_back(word);
  EXPECT_TRUE(!close || out.back() == (blocks.empty() ? "10" : "11"));

  const int count = static_cast<int>(blocks.size());
  int used = 0, overhead = 0;  // usedmem, memorysize
  std::string log, debug;
  for (int i = count - 1; i >= 0; --i) {  // newest first
    const auto& [size, line, file] = blocks[i];
    used += size;
    // A record (two pointers, two ints), a node (four pointers), the name.
    overhead += 6 * sizeof(void*) + 2 * sizeof(int) + file.size() + 1;
    log += Format(kLogBlock, size, file.c_str(), line, out[i + 1].c_str());
    const std::string source = file + " (" + std::to_string(line) + ")";
    debug += Format(kDebugBlock, source.c_str(), size, out[i + 1].c_str());
  }
  // The log and the two totals come together, when the log can be opened.
  std::string log_file = before == kOldLog ? "old log\n" : "<no file>";
  if (count > 0 && before != kLogDirectory) {
    log_file = Format(kLogHead, used, count) + log + "---\nEOF\n";
    debug.insert(0, Format(kDebugTotals, used, count));
  }
  // The channel's file ends each message with a line end.
  debug += count ? Format(kDebugSummary, overhead, used, count) : "manager <>";
  debug += "\n";
  EXPECT_EQ(Read(dir / "bmemlog.log"), log_file);
  // The manager's own address is as long as that of _b_new beside it.
  EXPECT_EQ(Read(dir / "debugger.txt", out[0].size()), debug);
}

const std::string kWide(60, 'w'), kHuge(2000, 'h');  // the lines never cut
const Run kRuns[] = {
    {kNothing, true, {}},
    {kOldLog, false, {}},
    {kOldLog, false, {{123456, -4, "n"}, {7, 0, ""}, {99, 2147483647, "k"}}},
    {kNothing, true, {{0, 5, kWide}, {0, 6, kHuge}}},  // usedmem 0: reported
    {kLogDirectory, false, {{1, 2, "a.c"}, {3, 4, "b"}}},
};
INSTANTIATE_TEST_SUITE_P(Runs, LeakReport, ::testing::ValuesIn(kRuns));

}  // namespace
