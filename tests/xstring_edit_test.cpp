// XString editing: Sub, Delete, Insert, Replace, ReplaceAll, and searches in
// a string that counts appended zeros. (strings_property_test checks Find,
// ReverseFind and ReplaceAll against a model on random texts.)
#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <string>

namespace {

// The text as far as Length() says, so that a wrong length shows.
std::string Text(XString& s) { return std::string(s.GetPtr(), s.Length()); }
std::string Text(XString&& s) { return Text(s); }

// --- Editing -----------------------------------------------------------------

// Each row: from, to, then Sub's result and the text after Delete, on
// abcdef; out-of-range ends are clamped. Delete installs a new buffer even
// when it removes nothing. Bytes 1 to 255 are copied unchanged.
TEST(XStringEdit, SubAndDeleteTakeInclusiveRanges) {
  // clang-format off
  const struct { int from, to; const char *sub, *deleted; } cases[] = {
      {1, 3, "bcd", "aef"}, {0, 5, "abcdef", ""}, {0, 0, "a", "bcdef"},
      {2, 1, "", "abcdef"}, {5, 5, "f", "abcde"}, {3, 6, "def", "abc"},
      {6, 6, "", "abcdef"}, {-2, 1, "ab", "cdef"}, {4, 99, "ef", "abcd"},
      {9, 12, "", "abcdef"}};
  // clang-format on
  for (const auto& [from, to, sub, deleted] : cases) {
    XString s("abcdef");
    EXPECT_EQ(Text(s.Sub(from, to)), sub) << from << ".." << to;
    const char* before = s.GetPtr();
    EXPECT_EQ(Text(s.Delete(from, to)), deleted) << from << ".." << to;
    EXPECT_NE(s.GetPtr(), before);
  }
  std::string bytes;
  for (int c = 1; c <= 255; ++c) bytes += static_cast<char>(c);
  XString s(bytes.c_str());
  EXPECT_EQ(Text(s.Sub(0, 255)), bytes);
  EXPECT_EQ(Text(s.Delete(10, 19)), bytes.substr(0, 10) + bytes.substr(20));
}

// Each row: text, operation (Insert, Replace or All for ReplaceAll), position,
// one or two texts, and the text afterwards. Insert always installs a new
// buffer; Replace and ReplaceAll keep it exactly when nothing is found.
TEST(XStringEdit, InsertsAndReplaces) {
  // clang-format off
  const struct { const char* text; char op; int pos; const char *a, *b, *out; }
      cases[] = {
      {"abc", 'I', 0, "XY", "", "XYabc"},  {"abc", 'I', 1, "XY", "", "aXYbc"},
      {"abc", 'I', 3, "XY", "", "abcXY"},  {"abc", 'I', 9, "XY", "", "abcXY"},
      {"abc", 'I', -3, "XY", "", "XYabc"}, {"", 'I', 4, "XY", "", "XY"},
      {"abc", 'I', 1, "", "", "abc"},      {"a,b,c", 'R', 0, ",", ".", "a.b,c"},
      {"abc", 'R', 0, "abc", "", ""},    {"abcabc", 'R', 1, "abc", "X", "abcX"},
      {"aab", 'R', 0, "ab", "Z", "aab"},   {"aab", 'A', 0, "ab", "Z", "aab"},
      {"aXbXc", 'A', 2, "X", "-", "aXb-c"}};
  // clang-format on
  for (const auto& [text, op, pos, a, b, out] : cases) {
    XString s(text);
    const char* before = s.GetPtr();
    op == 'I'   ? s.Insert(pos, a)
    : op == 'R' ? s.Replace(pos, a, b)
                : s.ReplaceAll(pos, a, b);
    EXPECT_EQ(Text(s), out) << text << " " << op << " " << a << " " << b;
    EXPECT_EQ(s.GetPtr() == before, op != 'I' && std::string(text) == out);
  }
}

// --- Arguments in the string itself, counted zeros ---------------------------

// Arguments may point into the string's own text. The buffer a b 0 x 0
// (length 4) is searched and edited byte for byte.
TEST(XStringEdit, ReadsItsOwnTextAndCountedZeros) {
  XString a("abc"), b("abc"), c("a-b-c"), d("x-c-c"), s("ab");
  EXPECT_EQ(Text(a.Insert(1, a.GetPtr())), "aabcbc");
  EXPECT_EQ(Text(b.Replace(0, b.GetPtr() + 1, b.GetPtr())), "aabc");
  EXPECT_EQ(Text(c.ReplaceAll(0, "-", c.GetPtr() + 4)), "acbcc");
  EXPECT_EQ(Text(d.ReplaceAll(0, d.GetPtr() + 3, "Y")), "xYY");
  (s += '\0') += 'x';
  EXPECT_TRUE(s.Find(0, "x") == 3 && s.ReverseFind(4, "x") == 3);
  EXPECT_EQ(Text(s.Sub(0, 3)) + "|" + Text(s.Sub(3, 4)), "ab|x");
  EXPECT_EQ(Text(s.Delete(0, 0)), std::string("b\0x", 3));
  EXPECT_EQ(Text(s.Insert(9, "y").Replace(0, "x", "ZZ")),
            std::string("b\0ZZy", 5));
}

}  // namespace
