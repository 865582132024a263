// XString in C++20 code: Format checked by its own rules hands its arguments
// on unchanged, a RuntimeFormat passes unchecked, and the string is a
// contiguous range for the range algorithms. (The checks that reject a call
// are compile tests: tests/compile/format_arguments.cpp.)
#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <algorithm>
#include <ranges>
#include <string>

static_assert(MORVANE_FORMAT_CHECKED == 1);
static_assert(std::ranges::contiguous_range<XString>);
static_assert(std::ranges::contiguous_range<const XString>);
static_assert(std::ranges::sized_range<const XString>);

namespace {

TEST(XStringCxx20, CheckedFormatRendersEveryConversion) {
  XString s;
  const unsigned short u = 7;
  s.Format("%i %d %x %X|%c|%s|%g %f|100%%", -1, true, 255u, u, 'c', "text",
           0.5f, 2.5);
  EXPECT_EQ(std::string(s), "-1 1 ff 7|c|text|0.5 2.500000|100%");
  const std::string runtime = "%d|%5d";
  s.Format(XString::RuntimeFormat(runtime.c_str()), 8);
  EXPECT_EQ(std::string(s), "8|5d");
}

TEST(XStringCxx20, RangeAlgorithmsWalkTheCountedCharacters) {
  XString s("a-b-c");
  s += '\0';
  EXPECT_EQ(std::ranges::count(s, '-'), 2);
  EXPECT_EQ(std::ranges::count(s, '\0'), 1);
}

}  // namespace
