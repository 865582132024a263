// XString conversions: GetValue, GetFromUnicode, Trim, SplitPath.
#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <string>

namespace {

std::string Text(XString& s) { return std::string(s.GetPtr(), s.Length()); }

// --- GetValue and GetFromUnicode ---------------------------------------------

// Each row: the text, its value, and the text afterwards (first comma only).
// A 16-bit unit gives its low byte; one whose low byte is zero ends the
// visible text, the bytes after it stay in the buffer uncounted.
TEST(XStringConvert, ReadsNumbersAndSixteenBitText) {
  // clang-format off
  const struct { const char* in; double value; const char* out; } cases[] = {
      {"3,5", 3.5, "3.5"},  {"1,5,2", 1.5, "1.5,2"},    {"1.5,7", 1.5, "1.5.7"},
      {"abc", 0, "abc"},    {"  2.25x", 2.25, "  2.25x"}, {"", 0, ""}};
  const unsigned short w[][4] = {{65, 66, 67}, {321, 578}, {0}, {65, 256, 67}};
  const char* texts[] = {"ABC", "AB", "", "A"};
  // clang-format on
  for (const auto& [in, value, out] : cases) {
    XString s(in);
    EXPECT_DOUBLE_EQ(s.GetValue(), value) << in;
    EXPECT_EQ(Text(s), out);
  }
  XString s("old");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Text(s.GetFromUnicode(w[i])), texts[i]);
  EXPECT_EQ(s.GetPtr()[2], 'C');
}

// --- Trim --------------------------------------------------------------------

// Each row: the text, the trimmed text, and whether the buffer is kept
// (exactly when both end bytes are solid: codes 33 to 126). Every byte from
// 1 to 255 between solid ends stays; a counted zero is blank.
TEST(XStringConvert, TrimRemovesBlankBytesAtTheEnds) {
  // clang-format off
  const struct { const char *text, *trimmed; bool kept; } cases[] = {
      {"  ab  ", "ab", false}, {" a ", "a", false}, {" ", "", false},
      {"", "", false}, {"ab  ", "ab", false}, {"\t\nx y\r\n", "x y", false},
      {"\200ab\351", "ab", false}, {"ab", "ab", true}, {"a b", "a b", true},
      {"a", "a", true}, {"!\200~", "!\200~", true}};
  // clang-format on
  for (const auto& [text, trimmed, kept] : cases) {
    XString s(text);
    const char* before = s.GetPtr();
    EXPECT_EQ(Text(s.Trim()), trimmed) << text;
    EXPECT_EQ(s.GetPtr() == before, kept) << text;
  }
  std::string inner;
  for (int c = 1; c <= 255; ++c) inner += static_cast<char>(c);
  XString s((" \220<" + inner + ">\t").c_str()), counted("ab");
  EXPECT_EQ(Text(s.Trim()), "<" + inner + ">");
  EXPECT_EQ(Text((counted += '\0').Trim()), "ab");
}

// --- SplitPath ---------------------------------------------------------------

// Each row: the path, then drive|directory|name|extension|. Parts longer than
// the splitter's buffers are cut to 255 characters.
TEST(XStringConvert, SplitPathAssignsThroughNonNullPointers) {
  const std::string x(300, 'x'), cut(254, 'x');
  // clang-format off
  const struct { std::string path, parts; } cases[] = {
      {"C:\\dir\\sub\\name.ext", "C:|\\dir\\sub\\|name|.ext|"},
      {"dir/name", "|dir/|name||"},      {"name.ext", "||name|.ext|"},
      {"ab:c.d", "||ab:c|.d|"},          {"x.y/a.b.c", "|x.y/|a.b|.c|"},
      {"/a\\b/", "|/a\\b/|||"},          {"", "||||"},
      {"C:\\" + x + "\\" + x + "." + x,
       "C:|\\" + cut + "|x" + cut + "|." + cut + "|"}};
  // clang-format on
  for (const auto& [path, parts] : cases) {
    XString s(path.c_str()), out[4] = {"old", "old", "old", "old"};
    s.SplitPath(&out[0], &out[1], &out[2], &out[3]);
    std::string got;
    for (XString& part : out) got += Text(part) + "|";
    EXPECT_EQ(got, parts) << path;
  }
  XString s("C:\\dir\\name.ext"), drive("d"), ext;
  s.SplitPath(&drive, nullptr, &s, &ext);  // the string itself takes a part
  EXPECT_EQ(Text(drive) + "|" + Text(s) + "|" + Text(ext), "C:|name|.ext");
}

}  // namespace
