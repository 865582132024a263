// XString conversions: GetValue, GetFromUnicode, Trim, SplitPath.
#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <string>
#include <tuple>

namespace {

std::string Text(XString& s) { return std::string(s.GetPtr(), s.Length()); }

// --- GetValue and GetFromUnicode ---------------------------------------------

// Each row: the text, its value, and the text afterwards (first comma only).
// A 16-bit unit gives its low byte; one whose low byte is zero ends the
// visible text, the bytes after it stay in the buffer uncounted.
TEST(XStringConvert, ReadsNumbersAndSixteenBitText) {
  // clang-format off
  const std::tuple<const char*, double, const char*> cases[] = {
      {"3,5", 3.5, "3.5"},  {"1,5,2", 1.5, "1.5,2"},    {"1.5,7", 1.5, "1.5.7"},
      {"abc", 0, "abc"},    {"  2.25x", 2.25, "  2.25x"}, {"", 0, ""},
      {"-4", -4, "-4"}};
  // clang-format on
  for (const auto& [text, value, after] : cases) {
    XString s(text);
    EXPECT_DOUBLE_EQ(s.GetValue(), value) << text;
    EXPECT_EQ(Text(s), after);
  }
  const unsigned short units[][4] = {
      {65, 66, 67}, {321, 578}, {0}, {65, 256, 67}};
  const char* texts[] = {"ABC", "AB", "", "A"};
  XString s("old");
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(Text(s.GetFromUnicode(units[i])), texts[i]);
  EXPECT_EQ(s.GetPtr()[2], 'C');
}

// --- Trim --------------------------------------------------------------------

// Each row: the text, the trimmed text, and whether the buffer is kept
// (exactly when both end bytes are solid: codes 33 to 126).
TEST(XStringConvert, TrimRemovesBlankBytesAtTheEnds) {
  // clang-format off
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"  ab  ", "ab", false}, {" a ", "a", false}, {" ", "", false},
      {"", "", false}, {"ab  ", "ab", false}, {"\377\240", "", false},
      {"\t\nx y\r\n", "x y", false}, {"\177a\177", "a", false},
      {"\200ab\351", "ab", false}, {"ab", "ab", true}, {"a b", "a b", true},
      {"a", "a", true}, {"!\200~", "!\200~", true}};
  // clang-format on
  for (const auto& [text, trimmed, kept] : cases) {
    XString s(text);
    const char* before = s.GetPtr();
    EXPECT_EQ(Text(s.Trim()), trimmed) << text;
    EXPECT_EQ(s.GetPtr() == before, kept) << text;
  }
  std::string inner;  // every byte from 1 to 255 between solid ends stays
  for (int c = 1; c <= 255; ++c) inner += static_cast<char>(c);
  XString s((" \220<" + inner + ">\t").c_str()), counted("ab");
  EXPECT_EQ(Text(s.Trim()), "<" + inner + ">");
  EXPECT_EQ(Text((counted += '\0').Trim()), "ab");  // a counted zero is blank
}

// --- SplitPath ---------------------------------------------------------------

// Each row: the path, then drive|directory|name|extension.
TEST(XStringConvert, SplitPathAssignsThroughNonNullPointers) {
  // clang-format off
  const std::tuple<const char*, const char*> cases[] = {
      {"C:\\dir\\sub\\name.ext", "C:|\\dir\\sub\\|name|.ext"},
      {"dir/name", "|dir/|name|"},       {"name.ext", "||name|.ext"},
      {"ab:c.d", "||ab:c|.d"},           {"x.y/a.b.c", "|x.y/|a.b|.c"},
      {"/a\\b/", "|/a\\b/||"},           {"", "|||"}};
  // clang-format on
  for (const auto& [path, parts] : cases) {
    XString s(path), p[4] = {"old", "old", "old", "old"};
    s.SplitPath(&p[0], &p[1], &p[2], &p[3]);
    EXPECT_EQ(
        Text(p[0]) + "|" + Text(p[1]) + "|" + Text(p[2]) + "|" + Text(p[3]),
        parts);
  }
  XString s("C:\\dir\\name.ext"), drive("d"), ext;
  s.SplitPath(&drive, nullptr, &s, &ext);  // the string itself takes a part
  EXPECT_EQ(Text(drive) + "|" + Text(s) + "|" + Text(ext), "C:|name|.ext");
}

}  // namespace
