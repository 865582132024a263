// The leak report as a process sees it: each case runs a child program in a
// fresh directory and reads the leak log and the debugger lines it left.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr char kLogName[] = "bmemlog.log";
constexpr char kDebugName[] = "debugger.txt";
// Per live block: one record (two pointers, two ints), one node (four
// pointers), then the file name with its terminator.
constexpr int kRecordBytes = 6 * sizeof(void*) + 2 * sizeof(int);

std::string Right(int value, std::size_t width) {
  const std::string digits = std::to_string(value);
  return std::string(width - std::min(width, digits.size()), ' ') + digits;
}

std::string LogHead(int usedmem, int memcount) {
  return "[qmx] mem_manager\n" + std::string(42, ':') +
         "\ntimestamp: <time>\n\n\n"
         "overall size of memory leaks   = " +
         Right(usedmem, 8) +
         " byte\n"
         "num of memory leaks            = " +
         Right(memcount, 8) + " \n\n";
}

std::string LogBlock(int size, const std::string& file, int line,
                     const std::string& pointer) {
  return "," + std::string(60, '-') +
         "[mem leak]\n|   size    = " + std::to_string(size) +
         "\n|   src     = " + file + "\n|   line    = " + std::to_string(line) +
         "\n|   pointer = " + pointer + "\n'" + std::string(67, '-') + "\n\n";
}

constexpr char kLogEnd[] = "---\nEOF\n";

std::string DebugTotals(int usedmem, int memcount) {
  return "[qmx] overall size of memory leaks      = " + Right(usedmem, 8) +
         " bytes\n[qmx] num of memory leaks               = " +
         Right(memcount, 8) + " \n\n";
}

std::string DebugBlock(const std::string& file, int line, int size,
                       const std::string& pointer) {
  std::string source = file + " (" + std::to_string(line) + ")";
  source.resize(std::max<std::size_t>(source.size(), 60), ' ');
  return source + " : memleak -> size(" + Right(size, 4) + ")  ptr(" + pointer +
         ") [qmx].\n";
}

std::string Summary(int memorysize, int usedmem, int varcount) {
  return "manager <manager> ,manager memorysize:" + std::to_string(memorysize) +
         " , size " + std::to_string(usedmem) +
         ", varcount: " + std::to_string(varcount) + " ,logfile:bmemlog.log";
}

class LeakReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "leakXXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs `program args` in the directory; its output lines: the address of
  // _b_new, then those of its blocks.
  std::vector<std::string> Run(const char* program, const std::string& args) {
    const std::string command = "cd '" + dir_.string() +
                                "' && MORVANE_DEBUG_OUTPUT=" + kDebugName +
                                " '" + program + "' " + args;
    std::FILE* pipe = popen(command.c_str(), "r");
    std::vector<std::string> lines;
    char line[64];
    while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr)
      lines.emplace_back(line, std::strcspn(line, "\n"));
    EXPECT_TRUE(pipe != nullptr && pclose(pipe) == 0) << command;
    lines.resize(std::max<std::size_t>(lines.size(), 4));
    library_ = lines[0];
    return lines;
  }

  std::string Read(const char* name) const {
    std::ostringstream text;
    text << std::ifstream(dir_ / name, std::ios::binary).rdbuf();
    return text.str();
  }

  std::string Log() const {
    static const std::regex kTime(
        "timestamp: [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-3][0-9] "
        "[0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}\n");
    return std::regex_replace(Read(kLogName), kTime, "timestamp: <time>\n");
  }

  // The debugger lines, with the manager's address (which must lie in the
  // library, not cut short) replaced by "<manager>".
  std::string Debug() const {
    static const std::regex kManager("(^|\n)manager ([0-9a-f]+)");
    const std::string text = Read(kDebugName);
    std::smatch match;
    if (std::regex_search(text, match, kManager)) {
      const auto gap =
          static_cast<long long>(std::stoull(match[2], nullptr, 16) -
                                 std::stoull(library_, nullptr, 16));
      EXPECT_LT(std::llabs(gap), 1ll << 26) << "manager " << match[2];
    }
    return std::regex_replace(text, kManager, "$1manager <manager>");
  }

  fs::path dir_;
  std::string library_;
};

// --- runs that end with leaks ---

TEST_F(LeakReportTest, OneLeakReplacesAnOlderLog) {
  std::ofstream(dir_ / kLogName) << std::string(5000, 'o');
  const auto out = Run(LEAK_CHILD, "new 10 7 a.cpp");
  EXPECT_EQ(Log(), LogHead(10, 1) + LogBlock(10, "a.cpp", 7, out[1]) + kLogEnd);
  EXPECT_EQ(Debug(), DebugTotals(10, 1) + DebugBlock("a.cpp", 7, 10, out[1]) +
                         Summary(kRecordBytes + 6, 10, 1));
}

TEST_F(LeakReportTest, BlocksNewestFirstAfterARelease) {
  const auto out = Run(
      LEAK_CHILD, "new 10 7 a.cpp new 20 8 bb.cpp new 30 9 ccc.cpp delete 1");
  EXPECT_EQ(Log(), LogHead(40, 2) + LogBlock(30, "ccc.cpp", 9, out[3]) +
                       LogBlock(10, "a.cpp", 7, out[1]) + kLogEnd);
  EXPECT_EQ(Debug(), DebugTotals(40, 2) + DebugBlock("ccc.cpp", 9, 30, out[3]) +
                         DebugBlock("a.cpp", 7, 10, out[1]) +
                         Summary(2 * kRecordBytes + 8 + 6, 40, 2));
}

TEST_F(LeakReportTest, LiveBlockOfSizeZeroIsReported) {
  const auto out = Run(LEAK_CHILD, "new 0 3 z.cpp");
  EXPECT_EQ(Log(), LogHead(0, 1) + LogBlock(0, "z.cpp", 3, out[1]) + kLogEnd);
  EXPECT_EQ(Debug(), DebugTotals(0, 1) + DebugBlock("z.cpp", 3, 0, out[1]) +
                         Summary(kRecordBytes + 6, 0, 1));
}

TEST_F(LeakReportTest, LongFileNamesAreNeverCut) {
  const std::string wide(60, 'w'), huge(2000, 'h');
  const auto out = Run(LEAK_CHILD, "new 1 5 " + wide + " new 2 6 " + huge);
  EXPECT_EQ(Log(), LogHead(3, 2) + LogBlock(2, huge, 6, out[2]) +
                       LogBlock(1, wide, 5, out[1]) + kLogEnd);
  EXPECT_EQ(Debug(), DebugTotals(3, 2) + DebugBlock(huge, 6, 2, out[2]) +
                         DebugBlock(wide, 5, 1, out[1]) +
                         Summary(2 * kRecordBytes + 2062, 3, 2));
}

TEST_F(LeakReportTest, UnopenableLogLeavesOnlyBlockLinesAndSummary) {
  fs::create_directory(dir_ / kLogName);
  const auto out = Run(LEAK_CHILD, "new 1 2 a.cpp new 3 4 b.cpp");
  EXPECT_TRUE(fs::is_empty(dir_ / kLogName));
  EXPECT_EQ(Debug(), DebugBlock("b.cpp", 4, 3, out[2]) +
                         DebugBlock("a.cpp", 2, 1, out[1]) +
                         Summary(2 * kRecordBytes + 12, 4, 2));
}

TEST_F(LeakReportTest, ReportIsWrittenWhenTheLibraryIsClosed) {
  const auto out = Run(UNLOAD_CHILD, "");
  EXPECT_EQ(out[2], "log written at close");
  EXPECT_EQ(Log(),
            LogHead(24, 1) + LogBlock(24, "unload.cpp", 12, out[1]) + kLogEnd);
  EXPECT_EQ(Debug(), DebugTotals(24, 1) +
                         DebugBlock("unload.cpp", 12, 24, out[1]) +
                         Summary(kRecordBytes + 11, 24, 1));
}

// --- runs that end without leaks ---

TEST_F(LeakReportTest, NothingLiveSendsOnlyTheManagerLineAndNoLog) {
  Run(LEAK_CHILD, "new 5 1 a.cpp delete 0");
  EXPECT_FALSE(fs::exists(dir_ / kLogName));
  EXPECT_EQ(Debug(), "manager <manager>");
  std::ofstream(dir_ / kLogName) << "earlier run\n";
  Run(LEAK_CHILD, "");
  EXPECT_EQ(Read(kLogName), "earlier run\n");
}

}  // namespace
