// XStringBuf: appending in place (copies into their own buffers), doubling
// until a piece fits, growth near INT_MAX, and moves.
#include <gtest/gtest.h>
#include <morvane/XStringBuf.h>

#include <cstdarg>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>

#include "strings/xstringbuf_calls.h"
#include "support/allocation_counter.h"

namespace {

// Text|length|capacity.
std::string State(const XStringBuf& b) {
  return std::string(b.GetPtr()) + "|" + std::to_string(b.Length()) + "|" +
         std::to_string(b.Capacity());
}

// A buffer of `capacity` holding `initial`, more appends (`p` is the
// buffer as they begin), the state afterwards, and the allocations the
// appends make (one per doubling).
using Appends = std::tuple<const char*, int, const char*, void (*)(XStringBuf&),
                           const char*, int>;
// clang-format off
#define APPENDS(capacity, initial, state, allocations, ...)                  \
  {#__VA_ARGS__, capacity, initial,                                        \
   [](XStringBuf& b) { [[maybe_unused]] const char* p = b.GetPtr(); __VA_ARGS__; }, \
   state, allocations}
// clang-format on

// A null format that the compiler cannot see: a literal one draws a format
// warning, and lets the optimiser reason from the null.
const char* Null() {
  static const char* volatile null = nullptr;
  return null;
}

// --- Append ------------------------------------------------------------------

// A piece may fill the free room less the byte held back for the terminator;
// otherwise the buffer doubles, within one call as often as the piece needs,
// whether the buffer renders the piece itself or (given a width or a
// precision) the C library does. Arguments and formats inside the text are
// read as the text stood when Append was called, also across regrowths. A
// copy, made or assigned, appends into a buffer of its own.
TEST(XStringBuf, AppendsInPlaceAndDoublesUntilThePieceFits) {
  // clang-format off
  const Appends cases[] = {
      APPENDS(0, "", "  hello|7|8", 3, b.Append("%7s", "hello")),  // 1 2 4 8
      APPENDS(4, "abc", "abc|3|4", 0, b.Append("%.0s", "x")),
      APPENDS(4, "abcdef", "|0|8", 0, b.Empty()),
      APPENDS(4, "abcdef", "new|3|8", 0, b.Empty(); b.Append("new")),
      APPENDS(8, "abc", "abc|3|8", 0, b[3] = 'X'; b.Append("%s", "")),
      APPENDS(64, "", "-2147483648 9 4294967295 a09 ABCDEF cd|38|64", 0,
              b.Append("%d %i %u %x %X %c%c", -2147483647 - 1, 9, 4294967295u,
                       0xA09u, 0xABCDEFu, 'c', 'd')),
      // Writing through the pointer leaves the length. U+4E00 has no form in
      // the "C" locale: an output error, which no doubling would cure.
      APPENDS(64, "abcdef", "Zbcdef!|7|64", 0,
              b[0] = 'Z'; b.Append("%ls", L"\u4e00"); b.Append("%s", "!")),
      APPENDS(8, "abc", "abcabcc|7|8", 0, b.Append("%s%s", p, p + 2)),
      APPENDS(10, "abc", "abcabcabc|9|10", 0, b.Append("%s%3s", p, p)),
      APPENDS(6, "abc", "abcbcc|6|12", 1, b.Append("%s%s", p + 1, p + 2)),
      APPENDS(4, "abc", "abcabc|c  |10|16", 2, b.Append("%s|%-3s", p, p + 2)),
      APPENDS(4, "", "100000000000000000000.000000|28|32", 3, b.Append("%f", 1e20)),
      APPENDS(8, "%d;", "%d;7;123456789;7;|17|32", 2,
              b.Append(p, 7); b.Append(p, 123456789)),
      APPENDS(4, "abc", "abc1|4|8", 4, XStringBuf copy(b); b.Append("xyz");
              copy.Append("1"); b = copy; b = *&b),
      // A null format appends nothing and writes the terminator again.
      APPENDS(8, "abc", "abc|3|8", 0, b[3] = 'X'; b.Append(Null(), 0))};
  // clang-format on
  for (const auto& [code, capacity, initial, run, state, allocations] : cases) {
    XStringBuf b(capacity);
    b.Append("%s", initial);
    const int before = morvane::testing::Allocations();
    run(b);
    EXPECT_EQ(morvane::testing::Allocations() - before, allocations) << code;
    EXPECT_EQ(State(b), state) << code;
  }
}

TEST(XStringBuf, DefaultCapacityIs2048) {
  EXPECT_EQ(State(XStringBuf()), "|0|2048");
}

// --- Moves -------------------------------------------------------------------

// A move hands the buffer over and leaves an empty buffer of capacity 1; a
// move assignment swaps the buffers.
TEST(XStringBuf, MovesHandTheBufferOver) {
  XStringBuf from(16), other(4);
  from.Append("%s", "text");
  const char* buffer = from.GetPtr();
  XStringBuf to(std::move(from));
  EXPECT_EQ(to.GetPtr(), buffer);
  EXPECT_EQ(State(to) + " " + State(from), "text|4|16 |0|1");
  other = std::move(to);
  EXPECT_EQ(other.GetPtr(), buffer);
  EXPECT_EQ(to.Capacity(), 4);
}

// --- Growth near INT_MAX -----------------------------------------------------

using morvane::strings::StringBuf;

// Stand-ins for the C library's formatter and the buffers' heap, so that
// capacities near INT_MAX need no gigabytes: every buffer is one small
// block, and the formatter reports `g_reported` as the whole piece's length
// until the room could hold that much, then writes "ok".
int g_reported, g_formats, g_allocations;
char g_block[128];

int ReportingFormat(char* dst, std::size_t room, const char*, va_list) {
  ++g_formats;
  if (g_reported < 0 || static_cast<std::size_t>(g_reported) >= room)
    return g_reported;
  std::memcpy(dst, "ok", 3);
  return 2;
}

class XStringBufNearIntMax : public testing::Test {
 protected:
  void SetUp() override {
    StringBuf() = {ReportingFormat,
                   [](std::size_t) { return ++g_allocations, g_block; },
                   [](char*) {}};
  }
  void TearDown() override {
    StringBuf() = morvane::strings::DefaultStringBuf();
  }
  // "abc" in a buffer of `capacity`, then `format` appended while the
  // formatter reports `reported`: the state, the formatter's calls and the
  // allocations.
  static std::string Run(int capacity, const char* format, int reported) {
    XStringBuf b(capacity);
    b.Append("%s", "abc");
    g_reported = reported, g_formats = 0, g_allocations = 0;
    b.Append(format, 1);
    return State(b) + " " + std::to_string(g_formats) + " " +
           std::to_string(g_allocations);
  }
};

// Doubling stops at INT_MAX; a piece longer than INT_MAX - 1 - length fits
// no capacity and changes nothing, allocating nothing.
TEST_F(XStringBufNearIntMax, GrowthStopsAtIntMax) {
  constexpr int kHalf = 1 << 30, kMax = 2147483647;
  EXPECT_EQ(Run(kHalf - 1, "%5s", kHalf), "abcok|5|2147483646 2 1");
  EXPECT_EQ(Run(kHalf, "%5s", kHalf), "abcok|5|2147483647 2 1");
  EXPECT_EQ(Run(kHalf, "%5s", kMax - 4), "abcok|5|2147483647 2 1");
  EXPECT_EQ(Run(kHalf, "%5s", kMax - 3), "abc|3|1073741824 1 0");
  EXPECT_EQ(Run(64, "%5s", -1), "abc|3|64 1 0");  // longer than an int
}

// A piece whose widths and precisions, written in the format, say that it
// cannot fit is refused before the formatter runs. After "abc", a piece may
// have INT_MAX - 4 = 2147483643 characters.
TEST_F(XStringBufNearIntMax, FormatsTooWideAreRefusedUnformatted) {
  // The format, and whether the formatter runs.
  const std::pair<const char*, int> cases[] = {
      {"[%2147483647d]", 0},  {"x%2147483642d", 1},     {"x%2147483643d", 0},
      {"%%%2147483643i", 0},  {"%-+ #02147483644u", 0}, {"%.2147483644x", 0},
      {"%99999999999X", 0},   {"%2147483650f", 0},      {"%.2147483647f", 1},
      {"%.2147483647s", 1},   {"%2147483644lu", 0},     {"%n%2147483643d", 1},
      {"%*s%2147483643d", 1}, {"%*d%2147483647d", 0},   {"%1$2147483647d", 0}};
  for (const auto& [format, calls] : cases)
    EXPECT_EQ(Run(64, format, -1), "abc|3|64 " + std::to_string(calls) + " 0")
        << format;
}

}  // namespace
