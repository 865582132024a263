// XStringBuf: appending in place, doubling until a piece fits, and copies
// with buffers of their own.
#include <gtest/gtest.h>
#include <morvane/XStringBuf.h>

#include <cstring>
#include <string>

#include "support/allocation_counter.h"

namespace {

// Text|length|capacity.
std::string State(XStringBuf& b) {
  return std::string(b.GetPtr()) + "|" + std::to_string(b.Length()) + "|" +
         std::to_string(b.Capacity());
}

// --- Append ------------------------------------------------------------------

// A piece may fill the free room less the byte held back for the
// terminator; otherwise the buffer doubles, within one call as often as the
// piece needs, whether the buffer renders the piece itself or (given a
// width) the runtime's formatter does, which must report a text too long,
// not its length. Empty() keeps the grown buffer, and a capacity below 1
// acts as 1.
TEST(XStringBuf, DoublesUntilThePieceFits) {
  XStringBuf standard, four(4), eight(8), zero(0);
  four.Append("abc");
  EXPECT_EQ(State(standard) + " " + State(four), "|0|2048 abc|3|4");
  four.Append("%c", 'd');
  eight.Append("%s%2d", "0123456789abcdefgh", 19);  // the runtime formats
  EXPECT_EQ(State(four) + " " + State(eight),
            "abcd|4|8 0123456789abcdefgh19|20|32");
  eight[20] = 'X';  // an empty piece rewrites the terminator
  eight.Append("%s", "");
  EXPECT_EQ(State(zero) + " " + State(eight),
            "|0|1 0123456789abcdefgh19|20|32");
  eight.Empty();
  eight.Append("new");
  zero.Append("%7s", "hello");  // fits 8 exactly, through the runtime
  EXPECT_EQ(State(eight) + " " + State(zero), "new|3|32   hello|7|8");
}

// The buffer's own rendering of plain integer pieces is the C library's.
TEST(XStringBuf, WritesIntegersAsPrintfDoes) {
  XStringBuf b;
  b.Append("%d %i %u %x %X", -2147483647 - 1, 9, 4294967295u, 0xA09u,
           0xABCDEFu);
  EXPECT_STREQ(b.GetPtr(), "-2147483648 9 4294967295 a09 ABCDEF");
}

// Writes through the pointer do not move the length. U+4E00 has no form in
// the "C" locale: an output error, not a text too long, so the buffer must
// not double without end.
TEST(XStringBuf, AppendsAtTheLength) {
  XStringBuf b(64);
  b.Append("abcdef");
  static_cast<char*>(b)[0] = 'Z';
  b.Append("%ls", L"\u4e00");
  b.Append("%s", "!");
  EXPECT_EQ(State(b), "Zbcdef!|7|64");
}

// Arguments and formats inside the text are read as the text stood when
// Append was called: in place, where a piece fits exactly, and across
// regrowths. Only a piece that does not fit allocates (once per doubling),
// whether the buffer renders it itself or (given a width or precision) the
// C library does.
TEST(XStringBuf, ReadsArgumentsInsideItsOwnText) {
  // clang-format off
  const struct { const char *label; int capacity; const char *format;
                 int first, second; const char *text; int grown; } kCases[] = {
    {"room to spare",          100, "%s%s",     0, 0, "abcabcabc",  100},
    {"room to spare, C path",  100, "%s%.3s",   0, 0, "abcabcabc",  100},
    {"exact fit",                8, "%s%s",     0, 2, "abcabcc",      8},
    {"exact fit, C path",       10, "%s%3s",    0, 0, "abcabcabc",   10},
    {"one doubling",             6, "%s%s",     1, 2, "abcbcc",      12},
    {"two doublings, C path",    4, "%s|%-3s",  0, 2, "abcabc|c  ",  16},
  };
  // clang-format on
  for (const auto& c : kCases) {
    XStringBuf b(c.capacity);
    b.Append("abc");
    const int before = morvane::testing::Allocations();
    b.Append(c.format, b.GetPtr() + c.first, b.GetPtr() + c.second);
    const int allocations = morvane::testing::Allocations() - before;
    int doublings = 0;
    for (int capacity = c.capacity; capacity < c.grown; capacity *= 2)
      ++doublings;
    EXPECT_EQ(State(b), std::string(c.text) + "|" +
                            std::to_string(std::strlen(c.text)) + "|" +
                            std::to_string(c.grown))
        << c.label;
    EXPECT_EQ(allocations, doublings) << c.label;
  }
  XStringBuf f(8);
  f.Append("%s", "%d;");
  f.Append(f.GetPtr(), 7);          // the format is the text itself
  f.Append(f.GetPtr(), 123456789);  // ... also when the buffer must grow
  EXPECT_EQ(State(f), "%d;7;123456789;7;|17|32");
}

// --- Copies ------------------------------------------------------------------

TEST(XStringBuf, CopiesOwnTheirBuffers) {
  XStringBuf a(4), assigned(64);
  a.Append("abc");
  XStringBuf copy(a);
  XStringBuf& same = assigned;
  assigned = a;
  assigned = same;
  EXPECT_TRUE(copy.GetPtr() != a.GetPtr() && assigned.GetPtr() != a.GetPtr());
  a.Append("xyz");  // regrows a, releasing its old buffer
  copy.Append("1");
  EXPECT_EQ(State(a) + " " + State(copy) + " " + State(assigned),
            "abcxyz|6|8 abc1|4|8 abc|3|4");
}

}  // namespace
