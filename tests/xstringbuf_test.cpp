#include <gtest/gtest.h>
#include <morvane/XStringBuf.h>

#include <new>
#include <string>

namespace {

void ExpectState(XStringBuf& b, const std::string& text, int capacity) {
  EXPECT_STREQ(b.GetPtr(), text.c_str());
  EXPECT_EQ(b.Length(), static_cast<int>(text.size()));
  EXPECT_EQ(b.Capacity(), capacity);
}

// --- Construction
// ---------------------------------------------------------------

TEST(XStringBuf, DefaultHolds2048EmptyCharacters) {
  XStringBuf b;
  ASSERT_NE(b.GetPtr(), nullptr);
  ExpectState(b, "", 2048);
}

TEST(XStringBuf, CapacityBelowOneActsAsOne) {
  for (int capacity : {0, -5}) {
    XStringBuf b(capacity);
    ExpectState(b, "", 1);
    b.Append("hello");
    ExpectState(b, "hello", 8);
  }
}

// --- Append -----------------------------------------------------------------

TEST(XStringBuf, PieceThatFillsTheLastFreeCharacterFits) {
  XStringBuf b(4);
  b.Append("abc");
  ExpectState(b, "abc", 4);
  b.Append("d");
  ExpectState(b, "abcd", 8);
}

// The arguments are read again from the first one after each failed attempt.
TEST(XStringBuf, DoublesAsOftenAsOnePieceNeeds) {
  XStringBuf b(8);
  b.Append("%s%s", "0123456789", "abcdefghij");
  ExpectState(b, "0123456789abcdefghij", 32);
  b.Append("|%d|%.1f|%c", -42, 2.25, 'z');
  ExpectState(b, "0123456789abcdefghij|-42|2.2|z", 32);
  b.Append("%s", std::string(100, 'w').c_str());
  EXPECT_EQ(b.Length(), 130);
  EXPECT_EQ(b.Capacity(), 256);
}

TEST(XStringBuf, EmptyPieceOnlyRewritesTerminator) {
  XStringBuf b(16);
  b.Append("ab");
  b[2] = 'X';  // through operator char*
  b.Append("%s", "");
  ExpectState(b, "ab", 16);
}

TEST(XStringBuf, WritesThroughPointerDoNotMoveLength) {
  XStringBuf b(16);
  b.Append("ab");
  char* p = b;
  p[0] = 'Z';
  p[2] = 'Q';
  p[3] = '\0';
  EXPECT_EQ(b.Length(), 2);
  b.Append("c");
  ExpectState(b, "Zbc", 16);
}

TEST(XStringBuf, ManyAppendsMatchAString) {
  XStringBuf b(1);
  std::string expected;
  for (int i = 0; i < 2000; ++i) {
    b.Append("line %d: %s\n", i, i % 2 ? "odd" : "even");
    expected +=
        "line " + std::to_string(i) + ": " + (i % 2 ? "odd" : "even") + "\n";
  }
  EXPECT_EQ(std::string(b.GetPtr()), expected);
  EXPECT_EQ(b.Length(), static_cast<int>(expected.size()));
  EXPECT_EQ(b.Capacity(), 32768);
}

// --- Pieces that read this buffer --------------------------------------------

// The failed attempt overwrites the terminator and the regrowth replaces the
// buffer; the retry must still read the original text.
TEST(XStringBuf, ArgumentsIntoOwnTextSurviveRegrowth) {
  XStringBuf b(8);
  b.Append("abcdef");
  b.Append("%s|%s", b.GetPtr(), b.GetPtr() + 3);
  ExpectState(b, "abcdefabcdef|def", 32);
}

// Written in place, the output would run over the format's own terminator.
TEST(XStringBuf, FormatFromOwnTextIsReadIntact) {
  XStringBuf b(64);
  b.Append("%s", "%d;");
  b.Append(b.GetPtr(), 7);
  ExpectState(b, "%d;7;", 64);
}

// A piece the formatter cannot render (no multibyte form of U+4E00 in the
// "C" locale) appends nothing instead of growing the buffer without end.
TEST(XStringBuf, UnrenderablePieceAppendsNothing) {
  XStringBuf b(8);
  b.Append("x");
  b.Append("%ls", L"\u4e00");
  ExpectState(b, "x", 8);
}

// --- Empty ------------------------------------------------------------------

TEST(XStringBuf, EmptyKeepsGrownBuffer) {
  XStringBuf b(8);
  b.Append("%s", "01234567890123456789");
  const char* buffer = b.GetPtr();
  b.Empty();
  ExpectState(b, "", 32);
  b.Append("new");
  ExpectState(b, "new", 32);
  EXPECT_EQ(b.GetPtr(), buffer);
}

// --- Copies -----------------------------------------------------------------

TEST(XStringBuf, CopyConstructionTakesOwnBuffer) {
  XStringBuf a(4);
  a.Append("abc");
  XStringBuf b(a);
  EXPECT_NE(b.GetPtr(), a.GetPtr());
  ExpectState(b, "abc", 4);
  b.Append("defgh");  // regrows b only
  ExpectState(a, "abc", 4);
  ExpectState(b, "abcdefgh", 16);
}

TEST(XStringBuf, AssignmentTakesOwnBuffer) {
  XStringBuf a(4);
  a.Append("abc");
  XStringBuf b(64);
  b.Append("previous");
  b = a;
  EXPECT_NE(b.GetPtr(), a.GetPtr());
  ExpectState(b, "abc", 4);
  a.Append("xyz");  // regrows a and releases its old buffer
  ExpectState(b, "abc", 4);
  b.Append("1");
  ExpectState(b, "abc1", 8);
  ExpectState(a, "abcxyz", 8);
}

TEST(XStringBuf, AssignmentToSelfKeepsText) {
  XStringBuf a(4);
  a.Append("abc");
  XStringBuf& same = a;
  a = same;
  ExpectState(a, "abc", 4);
  a.Append("d");
  ExpectState(a, "abcd", 8);
}

// --- Destruction
// --------------------------------------------------------------

TEST(XStringBuf, DestroyedBufferIsNullAndEmptyIsHarmless) {
  alignas(XStringBuf) unsigned char storage[sizeof(XStringBuf)];
  XStringBuf* b = new (storage) XStringBuf(16);
  b->Append("text");
  b->~XStringBuf();
  EXPECT_EQ(b->GetPtr(), nullptr);
  EXPECT_EQ(static_cast<char*>(*b), nullptr);
  b->Empty();
  EXPECT_EQ(b->Length(), 0);
  EXPECT_EQ(b->Capacity(), 0);
}

}  // namespace
