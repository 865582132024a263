// XString construction, assignment, concatenation, comparison and access.
#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <string>
#include <tuple>

namespace {

using namespace std::string_literals;  // "ab\0"s keeps its counted zero

// The whole buffer as far as Length() says, and its terminator.
std::string Buffer(XString& s) {
  return std::string(s.GetPtr(), s.Length() + 1);
}

constexpr int kNew = 0, kKept = 1, kAny = 2;  // what becomes of the buffer

// --- Changes and their buffers -----------------------------------------------

// Each row: the initial text, a change, the buffer afterwards, and whether
// the change keeps the buffer (kAny after several changes, whose buffers
// may come back from the allocator). An appended zero is counted; what is
// appended after it follows the visible text, a character at length - 1.
TEST(XStringCore, ChangesInstallExactBuffers) {
  using Change = void (*)(XString&);
  // clang-format off
  const std::tuple<const char*, Change, std::string, int> cases[] = {
      {"ab", [](XString& s) { s = "ab"; }, "ab"s, kKept},
      {"ab", [](XString& s) { s = s.GetPtr(); }, "ab"s, kKept},
      {"ab", [](XString& s) { s = "abd"; }, "abd"s, kNew},
      {"ab", [](XString& s) { s = XString("ab"); }, "ab"s, kNew},
      {"ab", [](XString& s) { s = *&s; }, "ab"s, kNew},  // s = s
      {"abc", [](XString& s) { s = s.GetPtr() + 1; }, "bc"s, kNew},
      {"ab", [](XString& s) { s += s; }, "abab"s, kNew},
      {"ab", [](XString& s) { s += s.GetPtr() + 1; }, "abb"s, kNew},
      {"ab", [](XString& s) { s += '\0'; }, "ab\0"s, kNew},
      {"ab", [](XString& s) { (s += '\0') += 'x'; }, "ab\0x"s, kAny},
      {"ab", [](XString& s) { (s += '\0') += "cd"; }, "abcd\0"s, kAny},
      {"ab", [](XString& s) { s += XString("c") += '\0'; }, "abc"s, kNew},
      {"ab", [](XString& s) { s = XString(s += '\0'); }, "ab"s, kAny},
      {"ab", [](XString& s) { s = (s += '\0'); }, "ab"s, kAny},
      {"ab", [](XString& s) { (s += '\0').Empty(); }, ""s, kAny},
      {"", [](XString& s) { s.Empty(); }, ""s, kNew}};
  // clang-format on
  for (const auto& [initial, change, buffer, kept] : cases) {
    XString s(initial);
    const char* before = s.GetPtr();
    change(s);
    EXPECT_EQ(Buffer(s), buffer + '\0') << initial << " -> " << buffer;
    EXPECT_TRUE(kept == kAny || (s.GetPtr() == before) == (kept == kKept));
  }
}

// --- New strings, comparison and access --------------------------------------

// A copy measures the text, so a counted zero is not carried over.
TEST(XStringCore, NewStringsMeasureTheirText) {
  XString s("ab"), cd("cd"), counted("ab");
  XString made[] = {XString(),       XString("ab", "cd"),
                    XString("", ""), s + 'x',
                    s + '\0',        s + cd,
                    s + "ef",        XString(counted += '\0')};
  const char* texts[] = {"", "abcd", "", "abx", "ab", "abcd", "abef", "ab"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Buffer(made[i]), texts[i] + "\0"s);
  EXPECT_EQ(Buffer(s), "ab\0"s);
}

TEST(XStringCore, ComparesTextsAndSharesTheBuffer) {
  XString abc("abc"), counted("abc");
  EXPECT_TRUE(abc == "abc" && abc.CMP("abc") && abc == (counted += '\0'));
  for (const char* other : {"abd", "ab", "ABC", "abcd", "", "ab\xe3"})
    EXPECT_FALSE(abc == other || abc.CMP(other)) << other;
  EXPECT_EQ(static_cast<const char*>(counted), counted.GetPtr());
  EXPECT_EQ(static_cast<void*>(counted), counted.GetPtr());
  EXPECT_TRUE(counted[2] == 'c' && counted[counted.Length()] == '\0');
}

}  // namespace
