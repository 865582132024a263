// XString search and editing: Find, ReverseFind, Sub, Delete, Insert,
// Replace, ReplaceAll.
#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <string>
#include <tuple>

namespace {

// The text as far as Length() says, so that a wrong length shows.
std::string Text(XString& s) { return std::string(s.GetPtr(), s.Length()); }
std::string Text(XString&& s) { return Text(s); }

// --- Find and ReverseFind ----------------------------------------------------

// Each row: text, start, pattern, then what Find and ReverseFind give. The
// rows from "aab" to "abb" meet blind spots: occurrences that begin inside
// a failed partial match. A start below 0 searches from 0, one beyond the
// end from the end.
TEST(XStringSearch, ScansOnceWithoutBackingUp) {
  // clang-format off
  const std::tuple<const char*, int, const char*, int, int> cases[] = {
      {"", 0, "", -1, -1},          {"xyz", 0, "", -1, -1},
      {"xyz", 2, "z", 2, 2},        {"xyz", 3, "z", -1, 2},
      {"xyz", 0, "xyz", 0, -1},     {"xyz", 2, "xyz", -1, 0},
      {"xyz", 1, "xyz", -1, -1},    {"xyz", 0, "xyzw", -1, -1},
      {"xyz", 0, "x", 0, 0},        {"abcabc", 1, "abc", 3, -1},
      {"abcabc", 4, "bc", 4, 1},    {"abcabc", 5, "bc", -1, 4},
      {"abcabc", 2, "bc", 4, 1},    {"abcabc", 1, "bc", 1, -1},
      {"abab", 0, "ab", 0, -1},     {"cab", 0, "ab", 1, -1},
      {"aab", 0, "ab", -1, -1},     {"aab", 2, "ab", -1, 1},
      {"aaab", 0, "aab", -1, -1},   {"ababc", 0, "abc", -1, -1},
      {"abb", 2, "ab", -1, -1},     {"abc", -5, "b", 1, -1},
      {"xyz", 99, "z", -1, 2},      {"xyz", 3, "", -1, -1}};
  // clang-format on
  for (const auto& [text, start, pattern, find, reverse_find] : cases) {
    XString s(text);
    EXPECT_EQ(s.Find(start, pattern), find) << text << pattern << start;
    EXPECT_EQ(s.ReverseFind(start, pattern), reverse_find) << text << start;
  }
}

// --- Editing -----------------------------------------------------------------

// Each row: from, to, then Sub's result and the text after Delete, on
// abcdef. Delete installs a new buffer even when it removes nothing.
TEST(XStringEdit, SubAndDeleteTakeInclusiveRanges) {
  // clang-format off
  const std::tuple<int, int, const char*, const char*> cases[] = {
      {1, 3, "bcd", "aef"},  {0, 5, "abcdef", ""},  {0, 0, "a", "bcdef"},
      {2, 1, "", "abcdef"},  {5, 5, "f", "abcde"},  {3, 6, "def", "abc"},
      {6, 6, "", "abcdef"},  {-2, 1, "ab", "cdef"}, {4, 99, "ef", "abcd"},
      {9, 12, "", "abcdef"}};
  // clang-format on
  for (const auto& [from, to, sub, deleted] : cases) {
    XString s("abcdef");
    EXPECT_EQ(Text(s.Sub(from, to)), sub) << from << ".." << to;
    const char* before = s.GetPtr();
    EXPECT_EQ(Text(s.Delete(from, to)), deleted) << from << ".." << to;
    EXPECT_NE(s.GetPtr(), before);
  }
  std::string bytes;  // every byte from 1 to 255 is copied unchanged
  for (int c = 1; c <= 255; ++c) bytes += static_cast<char>(c);
  XString s(bytes.c_str());
  EXPECT_EQ(Text(s.Sub(0, 255)), bytes);
  EXPECT_EQ(Text(s.Delete(10, 19)), bytes.substr(0, 10) + bytes.substr(20));
}

// Each row: text, operation (Insert, Replace or All for ReplaceAll), position,
// one or two texts, result. Insert always installs a new buffer; Replace and
// ReplaceAll keep it exactly when nothing is found. In the last rows `with`
// holds `what`: ReplaceAll resumes behind the inserted copy.
TEST(XStringEdit, InsertsAndReplaces) {
  // clang-format off
  const std::tuple<const char*, char, int, const char*, const char*,
                   const char*> cases[] = {
      {"abc", 'I', 0, "XY", "", "XYabc"},  {"abc", 'I', 1, "XY", "", "aXYbc"},
      {"abc", 'I', 3, "XY", "", "abcXY"},  {"abc", 'I', 9, "XY", "", "abcXY"},
      {"abc", 'I', -3, "XY", "", "XYabc"}, {"", 'I', 4, "XY", "", "XY"},
      {"abc", 'I', 1, "", "", "abc"},      {"a,b,c", 'R', 0, ",", ".", "a.b,c"},
      {"abc", 'R', 0, "abc", "", ""},    {"abcabc", 'R', 1, "abc", "X", "abcX"},
      {"abc", 'R', -4, "c", "CC", "abCC"}, {"aab", 'R', 0, "ab", "Z", "aab"},
      {"aab", 'A', 0, "ab", "Z", "aab"},   {"ab", 'A', 0, "", "Z", "ab"},
      {"a/b//c", 'A', 0, "/", "\\", "a\\b\\\\c"},
      {"a\\b\\\\c", 'A', 0, "\\\\", "\\", "a\\b\\c"},
      {"aXbXc", 'A', 2, "X", "-", "aXb-c"}, {"xabb", 'A', 0, "ab", "a", "xa"},
      {"aaaa", 'A', 0, "aa", "b", "bb"},   {"aXa", 'A', 0, "a", "ab", "abXab"},
      {"aa", 'A', 0, "a", "aa", "aaaa"},   {"xa", 'A', 0, "a", "bab", "xbab"}};
  // clang-format on
  for (const auto& [text, op, pos, a, b, expected] : cases) {
    XString s(text);
    const char* before = s.GetPtr();
    op == 'I'   ? s.Insert(pos, a)
    : op == 'R' ? s.Replace(pos, a, b)
                : s.ReplaceAll(pos, a, b);
    EXPECT_EQ(Text(s), expected) << text << " " << op << " " << a << " " << b;
    const bool same = std::string(text) == expected;
    EXPECT_TRUE((op == 'A' && !same) ||
                (s.GetPtr() == before) == (same && op != 'I'));
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
  EXPECT_EQ(s.ReverseFind(3, "b"), 1);
  EXPECT_EQ(Text(s.Sub(0, 3)) + "|" + Text(s.Sub(3, 4)), "ab|x");
  EXPECT_EQ(Text(s.Delete(0, 0)), std::string("b\0x", 3));
  EXPECT_EQ(Text(s.Insert(9, "y").Replace(0, "x", "ZZ")),
            std::string("b\0ZZy", 5));
}

}  // namespace
