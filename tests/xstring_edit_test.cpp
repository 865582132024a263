// XString search and editing: Sub, Find, ReverseFind, Delete, Insert,
// Replace, ReplaceAll.
#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <string>

namespace {

struct SearchCase {
  const char* text;
  int start;
  const char* pattern;
  int expected;
};

struct ReplaceCase {
  const char* text;
  int start;
  const char* what;
  const char* with;
  const char* expected;
};

struct RangeCase {
  const char* text;
  int from;
  int to;
  const char* expected;
};

// Every byte from 1 to 255, in order.
std::string AllBytes() {
  std::string bytes;
  for (int c = 1; c <= 255; ++c) bytes += static_cast<char>(c);
  return bytes;
}

// "ab", a counted zero, then "x": the buffer reads a b \0 x \0, length 4.
void MakeCounted(XString& s) {
  s = "ab";
  s += '\0';
  s += 'x';
}

// --- Find ------------------------------------------------------------------

TEST(XStringFind, ScansForwardWithoutBackingUp) {
  const SearchCase cases[] = {
      {"", 0, "", -1},         {"xyz", 0, "", -1},      {"xyz", 2, "z", 2},
      {"xyz", 3, "z", -1},     {"xyz", 0, "xyz", 0},    {"xyz", 0, "xyzw", -1},
      {"abcabc", 1, "abc", 3}, {"abcabc", 4, "bc", 4},  {"aab", 0, "ab", -1},
      {"aaab", 0, "aab", -1},  {"ababc", 0, "abc", -1}, {"abab", 0, "ab", 0},
      {"cab", 0, "ab", 1},     {"abac", 0, "ac", 2},    {"aac", 0, "ac", -1},
      {"xya", 0, "ab", -1},    {"abc", -5, "b", 1},     {"abc", 99, "b", -1},
  };
  for (const SearchCase& c : cases) {
    XString s(c.text);
    EXPECT_EQ(s.Find(c.start, c.pattern), c.expected)
        << c.text << " / " << c.pattern << " from " << c.start;
  }
}

TEST(XStringFind, LongInputs) {
  XString s((std::string(999, 'a') + "b").c_str());
  EXPECT_EQ(s.Find(0, "ab"), 998);
  EXPECT_EQ(s.Find(0, "b"), 999);
  EXPECT_EQ(s.Find(0, "aab"), -1);
  EXPECT_EQ(s.Find(1, "aab"), 997);
  EXPECT_EQ(s.ReverseFind(1000, "ab"), 998);
  EXPECT_EQ(s.ReverseFind(999, "aa"), 997);
}

// --- ReverseFind -------------------------------------------------------------

TEST(XStringReverseFind, ScansBackwardWithoutBackingUp) {
  const SearchCase cases[] = {
      {"xyz", 0, "x", 0},      {"xyz", 3, "z", 2},     {"xyz", 2, "xyz", 0},
      {"xyz", 1, "xyz", -1},   {"abcabc", 5, "bc", 4}, {"abcabc", 2, "bc", 1},
      {"abcabc", 1, "bc", -1}, {"abb", 2, "ab", -1},   {"aab", 2, "ab", 1},
      {"xyz", 3, "", -1},      {"xyz", 99, "z", 2},    {"xyz", -1, "x", -1},
      {"", 0, "a", -1},        {"cabab", 4, "ab", 3},  {"caab", 3, "ca", -1},
  };
  for (const SearchCase& c : cases) {
    XString s(c.text);
    EXPECT_EQ(s.ReverseFind(c.start, c.pattern), c.expected)
        << c.text << " / " << c.pattern << " from " << c.start;
  }
}

// --- Sub and Delete ----------------------------------------------------------

TEST(XStringSub, TakesInclusiveRanges) {
  const RangeCase cases[] = {
      {"abcdef", 1, 3, "bcd"}, {"abcdef", 0, 5, "abcdef"},
      {"abcdef", 0, 0, "a"},   {"abcdef", 2, 1, ""},
      {"abcdef", 3, 6, "def"}, {"abcdef", 6, 6, ""},
      {"abcdef", -2, 1, "ab"}, {"abcdef", 4, 99, "ef"},
      {"abcdef", 9, 12, ""},   {"", 0, 0, ""},
  };
  for (const RangeCase& c : cases) {
    XString s(c.text);
    XString sub = s.Sub(c.from, c.to);
    EXPECT_STREQ(sub.GetPtr(), c.expected) << c.from << ".." << c.to;
    EXPECT_EQ(sub.Length(), static_cast<int>(std::string(c.expected).size()));
    EXPECT_STREQ(s.GetPtr(), c.text);
  }
}

TEST(XStringDelete, RemovesInclusiveRangesIntoANewBuffer) {
  const RangeCase cases[] = {
      {"abcdef", 1, 3, "aef"},     {"abcdef", 0, 5, ""},
      {"abcdef", 5, 5, "abcde"},   {"abcdef", 2, 1, "abcdef"},
      {"abcdef", -1, 0, "bcdef"},  {"abcdef", 4, 99, "abcd"},
      {"abcdef", 9, 12, "abcdef"}, {"", 0, -1, ""},
  };
  for (const RangeCase& c : cases) {
    XString s(c.text);
    const char* before = s.GetPtr();
    s.Delete(c.from, c.to);
    EXPECT_STREQ(s.GetPtr(), c.expected) << c.from << ".." << c.to;
    EXPECT_EQ(s.Length(), static_cast<int>(std::string(c.expected).size()));
    EXPECT_NE(s.GetPtr(), before);
  }
}

TEST(XStringSubDelete, CopyEveryByteValue) {
  const std::string bytes = AllBytes();
  XString s(bytes.c_str());
  EXPECT_EQ(std::string(s.Sub(0, 254).GetPtr()), bytes);
  EXPECT_EQ(std::string(s.Sub(100, 255).GetPtr()), bytes.substr(100));
  s.Delete(10, 19);
  EXPECT_EQ(std::string(s.GetPtr()), bytes.substr(0, 10) + bytes.substr(20));
  EXPECT_EQ(s.Length(), 245);
}

// --- Insert -----------------------------------------------------------------

TEST(XStringInsert, InsertsBeforePositionOrAppends) {
  const struct {
    const char* text;
    int pos;
    const char* expected;
  } cases[] = {
      {"abc", 0, "XYabc"}, {"abc", 1, "aXYbc"},  {"abc", 3, "abcXY"},
      {"abc", 9, "abcXY"}, {"abc", -3, "XYabc"}, {"", 0, "XY"},
      {"", 4, "XY"},
  };
  for (const auto& c : cases) {
    XString s(c.text);
    s.Insert(c.pos, "XY");
    EXPECT_STREQ(s.GetPtr(), c.expected) << c.pos;
    EXPECT_EQ(s.Length(), static_cast<int>(std::string(c.expected).size()));
  }
}

TEST(XStringInsert, EmptyTextStillInstallsANewBuffer) {
  XString s("abc");
  const char* before = s.GetPtr();
  s.Insert(1, "");
  EXPECT_NE(s.GetPtr(), before);
  EXPECT_STREQ(s.GetPtr(), "abc");
}

TEST(XStringInsert, ReadsOwnTextBeforeReleasingIt) {
  XString s("abc");
  s.Insert(1, s.GetPtr());
  EXPECT_STREQ(s.GetPtr(), "aabcbc");
}

// --- Replace ----------------------------------------------------------------

TEST(XStringReplace, ReplacesTheOccurrenceFindReports) {
  const ReplaceCase cases[] = {
      {"a,b,c", 0, ",", ".", "a.b,c"},
      {"abcabc", 1, "abc", "X", "abcX"},
      {"abc", 0, "abc", "", ""},
      {"abc", -4, "c", "CC", "abCC"},
  };
  for (const ReplaceCase& c : cases) {
    XString s(c.text);
    s.Replace(c.start, c.what, c.with);
    EXPECT_STREQ(s.GetPtr(), c.expected) << c.text;
    EXPECT_EQ(s.Length(), static_cast<int>(std::string(c.expected).size()));
  }
}

TEST(XStringReplace, NoMatchKeepsTheBuffer) {
  XString s("aab");
  const char* before = s.GetPtr();
  s.Replace(0, "ab", "Z");
  s.ReplaceAll(0, "ab", "Z");
  s.ReplaceAll(0, "", "Z");
  EXPECT_EQ(s.GetPtr(), before);
  EXPECT_STREQ(s.GetPtr(), "aab");
}

TEST(XStringReplace, ReadsOwnTextBeforeReleasingIt) {
  XString s("abc");
  s.Replace(0, s.GetPtr() + 1, s.GetPtr());
  EXPECT_STREQ(s.GetPtr(), "aabc");
}

// --- ReplaceAll -------------------------------------------------------------

TEST(XStringReplaceAll, RestartsWhereTheLastReplacementBegan) {
  const ReplaceCase cases[] = {
      {"a/b//c", 0, "/", "\\", "a\\b\\\\c"},
      {"a\\b\\\\c", 0, "\\\\", "\\", "a\\b\\c"},
      {"aXbXc", 2, "X", "-", "aXb-c"},
      {"xabb", 0, "ab", "a", "xa"},
      {"aaaa", 0, "aa", "b", "bb"},
      {"ab-ab", 0, "ab", "ba", "ba-ba"},
      // A replacement containing the searched text: the search resumes
      // after the inserted copy.
      {"aXa", 0, "a", "ab", "abXab"},
      {"aa", 0, "a", "aa", "aaaa"},
      {"xa", 0, "a", "bab", "xbab"},
  };
  for (const ReplaceCase& c : cases) {
    XString s(c.text);
    s.ReplaceAll(c.start, c.what, c.with);
    EXPECT_STREQ(s.GetPtr(), c.expected) << c.text;
    EXPECT_EQ(s.Length(), static_cast<int>(std::string(c.expected).size()));
  }
}

TEST(XStringReplaceAll, CollapsesLongRuns) {
  XString s(std::string(1000, '/').c_str());
  s.ReplaceAll(0, "/", "\\");
  EXPECT_EQ(std::string(s.GetPtr()), std::string(1000, '\\'));
  s.ReplaceAll(0, "\\\\", "\\");
  EXPECT_STREQ(s.GetPtr(), "\\");
  EXPECT_EQ(s.Length(), 1);
}

TEST(XStringReplaceAll, ArgumentsIntoOwnTextOutliveTheFirstReplacement) {
  XString s("a-b-c");
  s.ReplaceAll(0, "-", s.GetPtr() + 4);
  EXPECT_STREQ(s.GetPtr(), "acbcc");
  XString t("x-c-c");
  t.ReplaceAll(0, t.GetPtr() + 3, "Y");
  EXPECT_STREQ(t.GetPtr(), "xYY");
}

// --- Strings counting appended zeros
// ------------------------------------------

TEST(XStringEdit, CountedZerosAreWorkedOverByteForByte) {
  XString s;
  MakeCounted(s);
  EXPECT_EQ(s.Find(0, "x"), 3);
  EXPECT_EQ(s.ReverseFind(4, "x"), 3);
  EXPECT_EQ(s.ReverseFind(3, "b"), 1);
  XString sub = s.Sub(0, 3);
  EXPECT_EQ(sub.Length(), 2);
  XString tail = s.Sub(3, 4);
  EXPECT_STREQ(tail.GetPtr(), "x");

  s.Delete(0, 0);
  EXPECT_EQ(s.Length(), 3);
  EXPECT_EQ(s[2], 'x');
  s.Insert(9, "y");
  EXPECT_EQ(s.Length(), 4);
  EXPECT_EQ(s[3], 'y');
  s.Replace(0, "x", "ZZ");
  EXPECT_EQ(s.Length(), 5);
  EXPECT_STREQ(s.GetPtr(), "b");
  EXPECT_EQ(std::string(s.GetPtr() + 2), "ZZy");
}

}  // namespace
