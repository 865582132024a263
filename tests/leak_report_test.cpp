// The leak report and the debugger channel as a process sees them, and so
// the tracker's chain and totals after allocations and releases. Each run is
// a child process (a death test's) that loads the library itself and
// allocates (and may release) in a fresh directory. Once the child has closed
// the library or exited, the leak log and channel.txt it leaves are compared
// with those in leak_reports/<run>/, the report's exact bytes. The test program
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
#include <utility>
#include <vector>

#include "support/bookkeeping.h"
#include "support/loaded_library.h"

namespace {

// A file's bytes ("" when there is none); asctime's timestamp and the
// manager's address read "<>".
std::string Read(const std::filesystem::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path).rdbuf();  // text mode: no "\r" on Windows
  const std::regex varying(R"((timestamp: )[\w :]{24}|(manager )[\da-f]+)");
  return std::regex_replace(bytes.str(), varying, "$1$2<>");
}

using Block = std::tuple<int, int, std::string>;  // size, line, file
const char kFreed[] = "freed";  // the file of blocks released before the end
// A label; whether a directory stands where the log goes (else an old log);
// MORVANE_DEBUG_OUTPUT; whether the library is closed before the exit; the
// blocks, oldest first.
using Run =
    std::tuple<const char*, bool, std::string, bool, std::vector<Block>>;

// The child's run, in the directory named by the run's label. It writes the
// blocks' addresses to its standard error, which goes to channel.txt, before
// any debugger line.
[[noreturn]] void Child(const Run& run) {
  const auto& [label, log_is_directory, channel, close, blocks] = run;
  const std::filesystem::path dir = label;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(log_is_directory ? dir / "bmemlog.log"
                                                       : dir);
  std::filesystem::current_path(dir);
  std::ofstream("bmemlog.log") << "old\n";  // not where a directory stands
  std::string setting = "MORVANE_DEBUG_OUTPUT=" + channel;
  putenv(setting.data());  // lives on: the child ends in exit
  if (!std::freopen("channel.txt", "a", stderr)) std::_Exit(1);
  void* library = OpenLibrary(MORVANE_LIBRARY_FILE);
  // _b_new and _b_delete have C++ linkage: these are their linker names.
  auto* b_new = reinterpret_cast<void* (*)(unsigned, const char*, int)>(
      FindSymbol(library, "_Z6_b_newjPKci"));
  auto* b_delete = reinterpret_cast<void (*)(void*, const char*, int)>(
      FindSymbol(library, "_Z9_b_deletePvPKci"));
  std::vector<void*> freed;
  std::cerr << std::hex;
  for (const auto& [size, line, file] : blocks) {
    void* block = b_new(size, file.c_str(), line);
    std::cerr << std::uintptr_t(block) << ' ';
    if (file == kFreed) freed.push_back(block);
  }
  for (void* block : freed) b_delete(block, "", 0);
  std::cerr << '\n';
  // A closed library leaves its blocks unreachable, and a block of size 0 is
  // reachable only past its end: such runs skip the leak checks at exit.
  if (close) CloseLibrary(library), std::_Exit(0);
  std::exit(0);
}

class LeakReport : public testing::TestWithParam<Run> {};

TEST_P(LeakReport, WritesTheExpectedLogAndDebuggerLines) {
  const char* label = std::get<0>(GetParam());
  const std::vector<Block>& blocks = std::get<4>(GetParam());
  const std::filesystem::path dir = label;  // kept after the run, for a look
  EXPECT_EXIT(Child(GetParam()), testing::ExitedWithCode(0), "");
  // What the run wrote, with <1>, <2>, ... for the blocks' addresses (in
  // the order allocated) and <overhead> for the manager's bookkeeping.
  std::ifstream addresses(dir / "channel.txt");
  std::vector<std::pair<std::string, std::string>> values;
  std::size_t overhead = 0;
  for (const auto& [size, line, file] : blocks) {
    std::string pointer;
    addresses >> pointer;
    values.emplace_back(pointer, "<" + std::to_string(values.size() + 1) + ">");
    if (file != kFreed)
      overhead += morvane::testing::BookkeepingBytes(file.size());
  }
  values.emplace_back("memorysize:" + std::to_string(overhead),
                      "memorysize:<overhead>");
  for (const char* name : {"bmemlog.log", "channel.txt"}) {
    std::string text = Read(dir / name);
    for (const auto& [value, placeholder] : values)
      for (std::size_t at; (at = text.find(value)) != std::string::npos;)
        text.replace(at, value.size(), placeholder);
    EXPECT_EQ(text,
              Read(std::filesystem::path(MORVANE_LEAK_REPORTS) / label / name))
        << name;
  }
}

const std::string kWide(60, 'w'), kHuge(2000, 'h');  // the lines never cut
// clang-format off
const Run kRuns[] = {
    {"NothingLive", false, "channel.txt", true, {}},
    {"AtExit", false, "stderr", false, {{123456, 0, ""}, {7, 2147483647, "k"}}},
    {"AtClose", false, "channel.txt", true, {{0, 5, kWide}, {0, 6, kHuge}}},
    {"LogUnwritable", true, "channel.txt", false, {{1, -2, "a.c"}, {3, 4, "b"}}},
    {"Muted", false, "", false, {{8, 9, "x"}}},
    // Released in this order: the oldest, two in the middle, the newest.
    {"AfterReleases", false, "channel.txt", false,
     {{1, 1, kFreed}, {2, 2, "kept"}, {4, 3, kFreed}, {8, 4, "kept"},
      {16, 5, kFreed}, {32, 6, kFreed}}},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Runs, LeakReport, testing::ValuesIn(kRuns),
                         [](auto& run) { return std::get<0>(run.param); });

}  // namespace
