// XString::Format: its own scan of the format, its eight conversions,
// lastArg, the 1024-position scan limit and one allocation per call.
#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <cstdint>
#include <string>

#include "support/allocation_counter.h"

namespace {

std::string Text(XString& s) { return std::string(s.GetPtr(), s.Length()); }

constexpr unsigned int kOld = 0x12345678;  // lastArg before each row

// --- Conversions and odd formats ---------------------------------------------

// Each row: format, text, two int arguments, lastArg afterwards. A letter
// that is not a conversion is copied and fetches nothing; %c changes only
// the lowest byte of lastArg; a zero character ends the text, but the rest
// of the format is still worked through.
TEST(XStringFormat, ConvertsExactlyEightLetters) {
  // clang-format off
  const struct { const char *format, *text; int a, b; unsigned last_arg; }
      cases[] = {
      {"", "", 1, 2, kOld},            {"abc", "abc", 1, 2, kOld},
      {"100%%", "100%", 1, 2, kOld},   {"50%", "50", 1, 2, kOld},
      {"%5d %d", "5d 42", 42, 2, 42},  {"%ld%u%e%p", "lduep", 1, 2, kOld},
      {"%x", "ffffffff", -1, 2, ~0u},  {"%D%S%G%F%I%C", "DSGFIC", 1, 2, kOld},
      {"%X", "FF", 255, 2, 255},       {"%i", "-7", -7, 2, 0xFFFFFFF9},
      {"%x%X", "cafeBEEF", 0xCAFE, 0xBEEF, 0xBEEF},
      {"%X", "A09", 0xA09, 2, 0xA09},
      {"%d", "-2147483648", -2147483647 - 1, 2, 0x80000000},
      {"%c", "\xab", 0x7A1AB, 2, 0x123456AB}, {"a%cb%d", "a", 0, 9, 9}};
  // clang-format on
  for (const auto& [format, text, a, b, last_arg] : cases) {
    XString s("old");
    s.lastArg = kOld;
    EXPECT_EQ(Text(s.Format(format, a, b)), text) << format;
    EXPECT_EQ(s.lastArg, last_arg) << format;
  }
  // %s takes a pointer (lastArg keeps its low 32 bits), %g and %f a double
  // (lastArg keeps the bits of the float that it narrows to). The format and
  // the arguments may be the string's own text.
  XString s("ab"), t("a%%b");
  EXPECT_EQ(Text(s.Format("%s%s", s.GetPtr(), s.GetPtr())), "abab");
  EXPECT_EQ(Text(t.Format(t.GetPtr())), "a%b");
  const char *null = nullptr, *name = "a.dll";
  EXPECT_EQ(Text(s.Format("%s\\%s", "plugins", name)), "plugins\\a.dll");
  EXPECT_EQ(s.lastArg,
            static_cast<unsigned int>(reinterpret_cast<uintptr_t>(name)));
  EXPECT_EQ(Text(s.Format("%s%s", null, "")), "(null)");
  EXPECT_EQ(Text(s.Format("%d %g %d", 1, 2.5, 3)), "1 2.5 3");
  EXPECT_EQ(Text(s.Format("%g|%f", 0.5, 0.1)), "0.5|0.100000");
  EXPECT_EQ(s.lastArg, 0x3DCCCCCDu);  // the bits of 0.1f
}

// --- Buffers and limits ------------------------------------------------------

TEST(XStringFormat, AllocatesOnceUnlessTheTextOutgrowsTheScratchArea) {
  const std::string x1016(1016, 'x'), head(1020, 'h'), q(2000, 'q');
  XString s("previous text");
  const int before = morvane::testing::Allocations();
  s.Format("%d %s %x %g", -12, "name", 0xBEEF, 1.5);
  s.Format(x1016.c_str() + x1016.size());  // the empty format
  s.Format("%s%f", x1016.c_str(), 0.5);    // ends at the scratch area's end
  EXPECT_EQ(morvane::testing::Allocations() - before, 3);
  EXPECT_EQ(Text(s), x1016 + "0.500000");
  // Longer text is kept whole, also where a %f crosses the scratch's end.
  EXPECT_EQ(Text(s.Format("%s%f%s", head.c_str(), 0.25, q.c_str())),
            head + "0.250000" + q);
}

// A conversion whose '%' stands at 1023 is completed; one at 1024 is never
// reached and fetches nothing.
TEST(XStringFormat, ScansAtMost1024Positions) {
  XString s;
  const std::string a(1024, 'a'), a1022(1022, 'a'), a1023(1023, 'a');
  EXPECT_EQ(Text(s.Format((a + "b").c_str())), a);
  EXPECT_EQ(Text(s.Format(std::string(100 * 1024, 'z').c_str())),
            std::string(1024, 'z'));
  EXPECT_EQ(Text(s.Format((a1022 + "%db").c_str(), 7)), a1022 + "7");
  EXPECT_EQ(Text(s.Format((a1023 + "%db").c_str(), 8)), a1023 + "8");
  EXPECT_EQ(Text(s.Format((a + "%d").c_str(), 9)), a);
  EXPECT_EQ(s.lastArg, 8u);
}

}  // namespace
