// XString in C++20 code: Format checked by its own rules passes its arguments
// on, and the string is a contiguous range. (The calls it rejects are compile
// tests: compile/format_arguments.cpp; faces_cxx20, examples/faces built as
// C++20, runs a range algorithm over a string.)
#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <ranges>
#include <string>

static_assert(MORVANE_FORMAT_CHECKED == 1);
static_assert(std::ranges::contiguous_range<XString>);
static_assert(std::ranges::contiguous_range<const XString>);
static_assert(std::ranges::sized_range<const XString>);

namespace {

constexpr char kJoin[] = "%s\\%s";

// Every documented form passes the check (GCC and Clang compile this file
// with warnings as errors too), and the arguments arrive unchanged.
TEST(XStringCxx20, CheckedFormatRendersEveryConversion) {
  XString s;
  const unsigned short u = 7;
  char name[] = "a.dll";
  s.Format("%i %d %x %X|%c %c|%s|%g %f|100%%", -1, true, 255u, u, 'c', 66,
           "text", 0.5f, 2.5);
  EXPECT_EQ(std::string(s), "-1 1 ff 7|c B|text|0.5 2.500000|100%");
  EXPECT_EQ(std::string(s.Format(kJoin, "dir", name)), "dir\\a.dll");
  const std::string runtime = "%d|%5d";
  s.Format(XString::RuntimeFormat(runtime.c_str()), 8);
  EXPECT_EQ(std::string(s), "8|5d");
  EXPECT_EQ(std::string(s.Format(nullptr)), "");
}

}  // namespace
