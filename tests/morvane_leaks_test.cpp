// morvane-leaks's reader, where its model (fuzz/leaks_reader_fuzzer.cpp)
// and the runs of the program on the cases of leaks/ cannot tell.
#include <gtest/gtest.h>

#include <string>

#include "leak_log_reader.h"

namespace morvane::leaks {
namespace {

// A file that is no log is given up within its first kilobyte, without
// waiting for a line end that may never come.
TEST(LeakLogReader, FailsAtAHeaderLineLongerThanAKilobyte) {
  LeakLogReader reader;
  reader.Feed(std::string(1024, 'x'));
  EXPECT_FALSE(reader.Failed());
  reader.Feed("x");
  EXPECT_TRUE(reader.Failed());
}

}  // namespace
}  // namespace morvane::leaks
