// The contracts of the platform layer, which every target must keep alike:
// the same cases run against the POSIX and the Windows implementation.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;
using morvane::platform::DefaultCalls;

int Format(char* dst, int count, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = morvane::platform::FormatBounded(dst, count, format, args);
  va_end(args);
  return result;
}

// Up to `count` characters and a terminator; -1 for a longer text; nothing
// written beyond dst[count].
TEST(FormatBounded, FitsUpToCountCharactersElseMinusOne) {
  const std::tuple<int, const char*, int> kCases[] = {
      {3, "ab", 2}, {3, "abc", 3}, {3, "abcd", -1},
      {0, "", 0},   {0, "a", -1},  {-1, "", -1}};
  for (const auto& [count, text, result] : kCases) {
    char buffer[8] = "#######";
    EXPECT_EQ(Format(buffer, count, "%s", text), result) << text;
    EXPECT_STREQ(result < 0 ? text : buffer, text);
    EXPECT_EQ(buffer[count + 1], '#') << count;
  }
}

// Parts longer than their buffers are cut to 2 and 255 characters. (The
// splitting rules themselves are checked through XString::SplitPath.)
TEST(SplitPath, CutsLongPartsToTheirBuffers) {
  const std::string d(300, 'd'), n(300, 'n'), e(300, 'e');
  char drive[3], dir[256], name[256], ext[256];
  morvane::platform::SplitPath(("C:\\" + d + "\\" + n + "." + e).c_str(), drive,
                               dir, name, ext);
  EXPECT_STREQ(drive, "C:");
  EXPECT_EQ(dir, ("\\" + d).substr(0, 255));
  EXPECT_EQ(name, n.substr(0, 255));
  EXPECT_EQ(ext, ("." + e).substr(0, 255));
}

// A fresh empty working directory for the test's length.
class InScratchDirectory : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(saved_);
    fs::remove_all(dir_);
  }
  const fs::path saved_ = fs::current_path();
  const fs::path dir_ =
      fs::temp_directory_path() /
      testing::UnitTest::GetInstance()->current_test_info()->name();
  std::error_code error_;
};

TEST_F(InScratchDirectory, FindFilesMatchesWildcards) {
  for (const char* name : {"a.x", "b.x", "ab.x", "c.y"}) std::ofstream{name};
  using Names = std::multiset<std::string>;  // in any order: the system's
  const std::pair<const char*, Names> kCases[] = {
      {"*.x", {"a.x", "ab.x", "b.x"}},
      {"?.x", {"a.x", "b.x"}},
      {"*.z", {}},
      {"*", {".", "..", "a.x", "ab.x", "b.x", "c.y"}}};
  for (const auto& [pattern, names] : kCases) {
    const std::vector<std::string> found = DefaultCalls().find_files(pattern);
    EXPECT_EQ(Names(found.begin(), found.end()), names) << pattern;
  }
}

// Down past the first buffer that get_cwd tries (512), unless the system
// stops sooner: it refuses a level, or cannot name a directory even that
// short (Windows' ANSI calls stop at MAX_PATH). Each level is made, entered
// and removed by its short name, so that nothing is left behind either way.
TEST_F(InScratchDirectory, LongWorkingDirectoryIsReadWhole) {
  const std::string part(120, 'p');
  std::string expected = DefaultCalls().get_cwd(), cwd = expected;
  int depth = 0;
  while (cwd == expected && expected.size() < 512 &&
         fs::create_directory(part, error_) &&
         DefaultCalls().set_cwd(part.c_str())) {
    ++depth;
    expected = (fs::path(expected) / part).string();
    cwd = DefaultCalls().get_cwd();
  }
  for (int level = depth; level >= 0; --level) {
    fs::remove(part, error_);
    DefaultCalls().set_cwd("..");
  }
  if (expected.size() < 512 && (cwd.empty() || cwd == expected))
    GTEST_SKIP() << "no working directory this long here";
  EXPECT_EQ(cwd, expected);
}

// MORVANE_DEBUG_OUTPUT names a file to append to, or "stderr"; empty or
// unset, it sends the text nowhere. (POSIX putenv keeps these strings.)
char kSettings[][32] = {"MORVANE_DEBUG_OUTPUT=debug.log",
                        "MORVANE_DEBUG_OUTPUT=stderr", "MORVANE_DEBUG_OUTPUT="};

TEST_F(InScratchDirectory, DebugOutputGoesWhereTheVariableSays) {
  for (int target : {0, 0, 1, 2}) {
    putenv(kSettings[target]);
    testing::internal::CaptureStderr();
    DefaultCalls().debug_output("line\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              target == 1 ? "line\n" : "")
        << kSettings[target];
  }
  std::string text;
  std::getline(std::ifstream("debug.log", std::ios::binary), text, '\0');
  EXPECT_EQ(text, "line\nline\n");
}

}  // namespace
