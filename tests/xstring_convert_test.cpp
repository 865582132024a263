// XString conversions: GetValue, GetFromUnicode, Trim, SplitPath.
#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <string>

namespace {

// --- GetValue ---------------------------------------------------------------

TEST(XStringGetValue, ConvertsTheFirstCommaInPlace) {
  const struct {
    const char* text;
    double value;
    const char* after;
  } cases[] = {
      {"3,5", 3.5, "3.5"},     {"1,5,2", 1.5, "1.5,2"},
      {"1.5,7", 1.5, "1.5.7"}, {"abc", 0.0, "abc"},
      {"", 0.0, ""},           {"  2.25x", 2.25, "  2.25x"},
      {"-4", -4.0, "-4"},
  };
  for (const auto& c : cases) {
    XString s(c.text);
    EXPECT_DOUBLE_EQ(s.GetValue(), c.value) << c.text;
    EXPECT_STREQ(s.GetPtr(), c.after);
  }
}

TEST(XStringGetValue, WithoutCommaKeepsTheBuffer) {
  XString s("12");
  const char* before = s.GetPtr();
  EXPECT_DOUBLE_EQ(s.GetValue(), 12.0);
  EXPECT_EQ(s.GetPtr(), before);
}

// --- GetFromUnicode ---------------------------------------------------------

TEST(XStringGetFromUnicode, KeepsTheLowByteOfEachUnit) {
  XString s("old");
  const unsigned short abc[] = {65, 66, 67, 0};
  EXPECT_STREQ(s.GetFromUnicode(abc).GetPtr(), "ABC");
  EXPECT_EQ(s.Length(), 3);
  const unsigned short high[] = {321, 578, 0};
  EXPECT_STREQ(s.GetFromUnicode(high).GetPtr(), "AB");
  EXPECT_EQ(s.Length(), 2);
  const unsigned short empty[] = {0};
  EXPECT_STREQ(s.GetFromUnicode(empty).GetPtr(), "");
  EXPECT_EQ(s.Length(), 0);
}

TEST(XStringGetFromUnicode, ZeroLowByteEndsTheVisibleText) {
  XString s;
  const unsigned short units[] = {65, 256, 67, 0};
  s.GetFromUnicode(units);
  EXPECT_STREQ(s.GetPtr(), "A");
  EXPECT_EQ(s.Length(), 1);
  EXPECT_EQ(s.GetPtr()[2], 'C');  // still in the buffer, not counted
}

// --- Trim -------------------------------------------------------------------

TEST(XStringTrim, RemovesBlankEnds) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"  ab  ", "ab"},
      {" a ", "a"},
      {" ", ""},
      {"", ""},
      {"\t\nx y\r\n", "x y"},
      {"\x80"
       "ab\xe9",
       "ab"},
      {"\x7f"
       "a\x7f",
       "a"},
      {"\xff\xa0", ""},
      {"ab  ", "ab"},
      {"~!", "~!"},
  };
  for (const auto& c : cases) {
    XString s(c.text);
    s.Trim();
    EXPECT_STREQ(s.GetPtr(), c.expected) << c.text;
    EXPECT_EQ(s.Length(), static_cast<int>(std::string(c.expected).size()));
  }
}

TEST(XStringTrim, SolidEndsKeepTheBuffer) {
  for (const char* text : {"ab", "a b", "a", "!\x80~"}) {
    XString s(text);
    const char* before = s.GetPtr();
    s.Trim();
    EXPECT_EQ(s.GetPtr(), before) << text;
    EXPECT_STREQ(s.GetPtr(), text);
  }
}

TEST(XStringTrim, BlankTextOrBlankEndInstallsANewBuffer) {
  for (const char* text : {"", " ", "ab "}) {
    XString s(text);
    const char* before = s.GetPtr();
    s.Trim();
    EXPECT_NE(s.GetPtr(), before) << '"' << text << '"';
  }
}

TEST(XStringTrim, KeepsEveryInnerByte) {
  std::string inner;
  for (int c = 1; c <= 255; ++c) inner += static_cast<char>(c);
  XString s((" \x90<" + inner + ">\t").c_str());
  s.Trim();
  EXPECT_EQ(std::string(s.GetPtr()), "<" + inner + ">");
  EXPECT_EQ(s.Length(), 257);
}

TEST(XStringTrim, CountedZerosAreBlank) {
  XString s("ab");
  s += '\0';
  s.Trim();
  EXPECT_STREQ(s.GetPtr(), "ab");
  EXPECT_EQ(s.Length(), 2);
}

// --- SplitPath --------------------------------------------------------------

struct Parts {
  XString drive, dir, fname, ext;
};

TEST(XStringSplitPath, SplitsIntoFourParts) {
  const struct {
    const char* path;
    const char* drive;
    const char* dir;
    const char* fname;
    const char* ext;
  } cases[] = {
      {"C:\\dir\\sub\\name.ext", "C:", "\\dir\\sub\\", "name", ".ext"},
      {"dir/name", "", "dir/", "name", ""},
      {"name.ext", "", "", "name", ".ext"},
      {"ab:c.d", "", "", "ab:c", ".d"},
      {"x.y/a.b.c", "", "x.y/", "a.b", ".c"},
      {"C:", "C:", "", "", ""},
      {"/a\\b/", "", "/a\\b/", "", ""},
      {"", "", "", "", ""},
  };
  for (const auto& c : cases) {
    XString s(c.path);
    Parts p{"old", "old", "old", "old"};
    s.SplitPath(&p.drive, &p.dir, &p.fname, &p.ext);
    EXPECT_STREQ(p.drive.GetPtr(), c.drive) << c.path;
    EXPECT_STREQ(p.dir.GetPtr(), c.dir) << c.path;
    EXPECT_STREQ(p.fname.GetPtr(), c.fname) << c.path;
    EXPECT_STREQ(p.ext.GetPtr(), c.ext) << c.path;
    EXPECT_STREQ(s.GetPtr(), c.path);
  }
}

TEST(XStringSplitPath, AssignsOnlyThroughNonNullPointers) {
  XString s("C:\\dir\\name.ext");
  Parts p{"d", "p", "f", "e"};
  s.SplitPath(nullptr, nullptr, &p.fname, &p.ext);
  EXPECT_STREQ(p.drive.GetPtr(), "d");
  EXPECT_STREQ(p.dir.GetPtr(), "p");
  EXPECT_STREQ(p.fname.GetPtr(), "name");
  EXPECT_STREQ(p.ext.GetPtr(), ".ext");
  const char* before = s.GetPtr();
  s.SplitPath(nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(s.GetPtr(), before);
}

TEST(XStringSplitPath, MayAssignToItself) {
  XString s("C:\\dir\\name.ext");
  XString ext;
  s.SplitPath(nullptr, nullptr, &s, &ext);
  EXPECT_STREQ(s.GetPtr(), "name");
  EXPECT_STREQ(ext.GetPtr(), ".ext");
}

TEST(XStringSplitPath, CutsLongPartsTo255Characters) {
  XString s(
      ("d/" + std::string(300, 'n') + "." + std::string(300, 'e')).c_str());
  Parts p;
  s.SplitPath(&p.drive, &p.dir, &p.fname, &p.ext);
  EXPECT_EQ(p.fname.Length(), 255);
  EXPECT_EQ(p.ext.Length(), 255);
  EXPECT_STREQ(p.dir.GetPtr(), "d/");
}

}  // namespace
