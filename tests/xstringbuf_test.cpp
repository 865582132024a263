// XStringBuf: appending in place, doubling until a piece fits, and copies
// with buffers of their own.
#include <gtest/gtest.h>
#include <morvane/XStringBuf.h>

#include <new>
#include <string>

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

// Writes through the pointer do not move the length. Arguments and formats
// inside the buffer are read intact, also when the first attempt overran
// them and the retry happens in a regrown buffer. U+4E00 has no form in the
// "C" locale: an output error, not a text too long, so the buffer must not
// double without end.
TEST(XStringBuf, AppendsAtTheLengthAndReadsItsOwnText) {
  XStringBuf b(8), c(64);
  b.Append("abcdef");
  static_cast<char*>(b)[0] = 'Z';
  b.Append("%s|%s", b.GetPtr(), b.GetPtr() + 3);
  EXPECT_EQ(State(b), "ZbcdefZbcdef|def|16|32");
  c.Append("%s", "%d;");
  c.Append(c.GetPtr(), 7);
  c.Append("%s", c.GetPtr());
  c.Append("%ls", L"\u4e00");
  EXPECT_EQ(State(c), "%d;7;%d;7;|10|64");
}

// --- Copies and destruction --------------------------------------------------

// After destruction GetPtr() is null and Empty() does nothing.
TEST(XStringBuf, CopiesOwnTheirBuffersUntilDestroyed) {
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
  a.~XStringBuf();
  a.Empty();
  EXPECT_TRUE(a.GetPtr() == nullptr && static_cast<char*>(a) == nullptr);
  new (&a) XStringBuf(1);  // for the destructor at the end of the scope
}

}  // namespace
