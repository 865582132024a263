// The leak report as a process sees it: each run is a child program that
// loads the library, allocates in a fresh directory and leaves the leak log
// and the debugger lines there when it closes the library or exits.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr bool kOnWindows = MORVANE_TEST_ON_WINDOWS;
// Per live block: a record (two pointers, two ints), a node (four pointers)
// and the file name with its terminator.
constexpr int kRecordBytes = 6 * sizeof(void*) + 2 * sizeof(int);
constexpr char kLogHead[] =
    "[qmx] mem_manager\n::::::::::::::::::::::::::::::::::::::::::\n"
    "timestamp: <time>\n\n\noverall size of memory leaks   = %8d byte\n"
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
    "manager <manager> ,manager memorysize:%d , size %d, varcount: %d "
    ",logfile:bmemlog.log";

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[4096];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

// A file's bytes with asctime's timestamp replaced, or "<no file>".
std::string Read(const fs::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  const std::regex time(
      R"(timestamp: \w{3} \w{3} [ \d]\d \d\d:\d\d:\d\d \d{4})");
  return fs::is_regular_file(path)
             ? std::regex_replace(bytes.str(), time, "timestamp: <time>")
             : "<no file>";
}

using Block = std::tuple<unsigned, int, std::string>;  // size, line, file
enum Before { kNothing, kOldLog, kLogDirectory };      // in the directory

TEST(LeakReport, LogAndDebuggerLinesOfEveryRun) {
  const std::string wide(60, 'w'), huge(2000, 'h');
  // Whether the library is closed before the exit; the blocks, oldest first.
  const std::tuple<Before, bool, std::vector<Block>> kRuns[] = {
      {kNothing, true, {}},
      {kOldLog, false, {}},
      {kOldLog, false, {{10, 7, "a.cpp"}}},
      {kNothing, true, {{10, 7, "a.cpp"}, {20, 8, "bb.cpp"}, {30, 9, "c"}}},
      {kNothing, false, {{0, 3, "z.cpp"}}},
      {kNothing, false, {{1, 5, wide}, {2, 6, huge}}},
      {kNothing, false, {{123456, -4, "n"}, {7, 0, ""}, {99, 2147483647, "k"}}},
      {kLogDirectory, false, {{1, 2, "a.c"}, {3, 4, "b"}}},
  };
  for (const auto& [before, close, blocks] : kRuns) {
    const fs::path dir = fs::temp_directory_path() /
                         ("morvane" + std::to_string(std::random_device()()));
    ASSERT_TRUE(fs::create_directory(dir));
    if (before == kOldLog) std::ofstream(dir / "bmemlog.log") << "old log\n";
    if (before == kLogDirectory) fs::create_directory(dir / "bmemlog.log");
    std::string command = "\"" +
                          fs::absolute(LEAK_CHILD).make_preferred().string() +
                          "\" \"" + dir.string() + (close ? "\" close" : "\"");
    for (const auto& [size, line, file] : blocks)
      command += Format(" %u %d \"%s\"", size, line, file.c_str());
    // cmd takes the outermost quotes away.
    ASSERT_EQ(
        std::system((kOnWindows ? "\"" + command + "\"" : command).c_str()), 0);
    std::istringstream out_text(Read(dir / "out.txt"));
    const std::vector<std::string> out{
        std::istream_iterator<std::string>(out_text), {}};
    ASSERT_EQ(out.size(), 1 + blocks.size() + close) << command;
    EXPECT_TRUE(!close || out.back() == (blocks.empty() ? "10" : "11"));

    const int count = static_cast<int>(blocks.size());
    int used = 0, memorysize = count * kRecordBytes;
    std::string log, debug;
    for (int i = count - 1; i >= 0; --i) {  // newest first
      const auto& [size, line, file] = blocks[i];
      used += static_cast<int>(size);
      memorysize += static_cast<int>(file.size()) + 1;
      log += Format(kLogBlock, size, file.c_str(), line, out[i + 1].c_str());
      debug +=
          Format(kDebugBlock, Format("%s (%i)", file.c_str(), line).c_str(),
                 size, out[i + 1].c_str());
    }
    if (count > 0 && before != kLogDirectory) {
      log.insert(0, Format(kLogHead, used, count)).append("---\nEOF\n");
      debug.insert(0, Format(kDebugTotals, used, count));
    } else {
      log = before == kOldLog ? "old log\n" : "<no file>";
    }
    debug += count > 0 ? Format(kDebugSummary, memorysize, used, count)
                       : "manager <manager>";
    // A text file: on Windows "\r\n" ends its lines.
    if (kOnWindows) log = std::regex_replace(log, std::regex("\n"), "\r\n");
    EXPECT_EQ(Read(dir / "bmemlog.log"), log) << command;
    // The manager's own address, as long as that of _b_new beside it.
    const std::regex manager("manager [0-9a-f]{" +
                             std::to_string(out[0].size()) + "}");
    EXPECT_EQ(std::regex_replace(Read(dir / "debugger.txt"), manager,
                                 "manager <manager>"),
              debug);
    fs::remove_all(dir);
  }
}

}  // namespace
