// XString construction, assignment, concatenation, comparison and access.
#include <gtest/gtest.h>
#include <morvane/XString.h>

namespace {

// --- Construction -----------------------------------------------------------

TEST(XStringCore, DefaultIsEmptyWithABuffer) {
  XString s;
  ASSERT_NE(s.GetPtr(), nullptr);
  EXPECT_STREQ(s.GetPtr(), "");
  EXPECT_EQ(s.Length(), 0);
  EXPECT_EQ(s[0], '\0');
}

TEST(XStringCore, TwoStringConstructorJoins) {
  XString ab_cd("ab", "cd");
  EXPECT_STREQ(ab_cd.GetPtr(), "abcd");
  EXPECT_EQ(ab_cd.Length(), 4);
  XString none("", "");
  EXPECT_STREQ(none.GetPtr(), "");
  EXPECT_EQ(none.Length(), 0);
}

TEST(XStringCore, CopyMeasuresTheText) {
  XString s("ab");
  s += '\0';
  XString copy(s);
  EXPECT_STREQ(copy.GetPtr(), "ab");
  EXPECT_EQ(copy.Length(), 2);
  EXPECT_NE(copy.GetPtr(), s.GetPtr());
}

// --- Assignment
// ---------------------------------------------------------------

TEST(XStringCore, AssigningEqualTextKeepsTheBuffer) {
  XString s("abc");
  const char* before = s.GetPtr();
  s = "abc";
  EXPECT_EQ(s.GetPtr(), before);
  s = s.GetPtr();
  EXPECT_EQ(s.GetPtr(), before);
  s = "abd";
  EXPECT_NE(s.GetPtr(), before);
  EXPECT_STREQ(s.GetPtr(), "abd");
}

TEST(XStringCore, AssigningAnXStringAlwaysReplacesTheBuffer) {
  XString s("abc");
  XString same("abc");
  const char* before = s.GetPtr();
  s = same;
  EXPECT_NE(s.GetPtr(), before);
  before = s.GetPtr();
  XString& self = s;
  s = self;
  EXPECT_NE(s.GetPtr(), before);
  EXPECT_STREQ(s.GetPtr(), "abc");
  EXPECT_EQ(s.Length(), 3);
}

TEST(XStringCore, AssigningFromOwnTextReadsBeforeReleasing) {
  XString s("abc");
  s = s.GetPtr() + 1;
  EXPECT_STREQ(s.GetPtr(), "bc");
  EXPECT_EQ(s.Length(), 2);
}

TEST(XStringCore, AssigningDropsCountedZeros) {
  XString s("ab");
  s += '\0';
  XString t("x");
  t = s;
  EXPECT_EQ(t.Length(), 2);
}

// --- Concatenation ---------------------------------------------------------

TEST(XStringCore, AppendingToItselfDoubles) {
  XString s("ab");
  s += s;
  EXPECT_STREQ(s.GetPtr(), "abab");
  EXPECT_EQ(s.Length(), 4);
  s += s.GetPtr() + 3;
  EXPECT_STREQ(s.GetPtr(), "ababb");
}

TEST(XStringCore, AppendedZeroIsCountedButInvisible) {
  XString s("ab");
  s += '\0';
  EXPECT_STREQ(s.GetPtr(), "ab");
  EXPECT_EQ(s.Length(), 3);
  EXPECT_EQ(s[3], '\0');
  // The next character lands at index length - 1, behind the zero.
  s += 'x';
  EXPECT_EQ(s.Length(), 4);
  EXPECT_STREQ(s.GetPtr(), "ab");
  EXPECT_EQ(s[3], 'x');
  EXPECT_EQ(s[4], '\0');
}

TEST(XStringCore, AppendingTextAfterCountedZeroFollowsTheVisibleText) {
  XString s("ab");
  s += '\0';
  s += "cd";
  EXPECT_STREQ(s.GetPtr(), "abcd");
  EXPECT_EQ(s.Length(), 5);
  XString other("xy");
  other += '\0';
  XString t("1");
  t += other;  // other's measured length counts, not its length field
  EXPECT_EQ(t.Length(), 3);
}

TEST(XStringCore, PlusLeavesTheLeftOperandAlone) {
  XString s("ab");
  XString t = s + 'x';
  EXPECT_STREQ(t.GetPtr(), "abx");
  EXPECT_EQ(t.Length(), 3);
  EXPECT_STREQ(s.GetPtr(), "ab");
  EXPECT_EQ(s.Length(), 2);
  XString z = s + '\0';
  EXPECT_STREQ(z.GetPtr(), "ab");
  EXPECT_EQ(z.Length(), 2);
  XString cd("cd");
  XString u = s + cd;
  XString v = s + "ef";
  EXPECT_STREQ(u.GetPtr(), "abcd");
  EXPECT_STREQ(v.GetPtr(), "abef");
  EXPECT_EQ(v.Length(), 4);
}

// --- Comparison and access -------------------------------------------------

TEST(XStringCore, ComparesWholeTextsByteForByte) {
  XString abc("abc");
  EXPECT_TRUE(abc == "abc");
  EXPECT_TRUE(abc.CMP("abc"));
  for (const char* other : {"abd", "ab", "ABC", "abcd", ""}) {
    EXPECT_FALSE(abc == other) << other;
    EXPECT_FALSE(abc.CMP(other)) << other;
  }
  XString counted("abc");
  counted += '\0';
  EXPECT_TRUE(abc == counted);
  XString high("\xe9");
  EXPECT_FALSE(high == "\x69");
}

TEST(XStringCore, AccessorsShareTheBuffer) {
  XString s("abc");
  EXPECT_EQ(static_cast<const char*>(s), s.GetPtr());
  EXPECT_EQ(static_cast<void*>(s), s.GetPtr());
  EXPECT_EQ(s[1], 'b');
  EXPECT_EQ(s[s.Length()], '\0');
}

TEST(XStringCore, EmptyInstallsANewBuffer) {
  XString s;
  const char* before = s.GetPtr();
  s.Empty();
  EXPECT_NE(s.GetPtr(), before);
  EXPECT_EQ(s.Length(), 0);
  XString t("ab");
  t += '\0';
  t.Empty();
  EXPECT_EQ(t.Length(), 0);
  EXPECT_STREQ(t.GetPtr(), "");
}

}  // namespace
