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

// --- Changes and their buffers -----------------------------------------------

// Each row: the initial text, a change, the buffer afterwards, and whether
// the change keeps the buffer (-1: not checked, after several changes whose
// buffers may come back from the allocator). An appended zero is counted;
// what is appended after it follows the visible text, a character at
// length - 1.
TEST(XStringCore, ChangesInstallExactBuffers) {
  using Change = void (*)(XString&);
  // clang-format off
  const std::tuple<const char*, Change, std::string, int> cases[] = {
      {"ab", [](XString& s) { s = "ab"; }, "ab"s, true},
      {"ab", [](XString& s) { s = s.GetPtr(); }, "ab"s, true},
      {"ab", [](XString& s) { s = "abd"; }, "abd"s, false},
      {"ab", [](XString& s) { s = XString("ab"); }, "ab"s, false},
      {"ab", [](XString& s) { s = *&s; }, "ab"s, false},  // s = s
      {"abc", [](XString& s) { s = s.GetPtr() + 1; }, "bc"s, false},
      {"ab", [](XString& s) { s += s; }, "abab"s, false},
      {"ab", [](XString& s) { s += s.GetPtr() + 1; }, "abb"s, false},
      {"ab", [](XString& s) { s += '\0'; }, "ab\0"s, false},
      {"ab", [](XString& s) { (s += '\0') += 'x'; }, "ab\0x"s, -1},
      {"ab", [](XString& s) { (s += '\0') += "cd"; }, "abcd\0"s, -1},
      {"ab", [](XString& s) { s += XString("c") += '\0'; }, "abc"s, false},
      {"ab", [](XString& s) { s = (s += '\0'); }, "ab"s, -1},
      {"", [](XString& s) { s.Empty(); }, ""s, false}};
  // clang-format on
  for (const auto& [initial, change, buffer, kept] : cases) {
    XString s(initial);
    const char* before = s.GetPtr();
    change(s);
    EXPECT_EQ(Buffer(s), buffer + '\0') << initial << " -> " << buffer;
    EXPECT_TRUE(kept < 0 || (s.GetPtr() == before) == kept) << buffer;
  }
}

// --- New strings, comparison and access --------------------------------------

// A new string measures its text, so a counted zero is not carried over; nor
// do comparisons look at the length.
TEST(XStringCore, NewStringsAndComparisonsGoByTheText) {
  XString s("ab"), cd("cd"), counted("ab");
  // clang-format off
  XString made[] = {XString(), XString("ab", "cd"), XString("", ""), s + 'x',
                    s + '\0', s + cd, s + "ef", XString(counted += '\0')};
  const char* texts[] = {"", "abcd", "", "abx", "ab", "abcd", "abef", "ab"};
  // clang-format on
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Buffer(made[i]), texts[i] + "\0"s);
  EXPECT_TRUE(s == "ab" && s.CMP("ab") && s == counted && Buffer(s) == "ab\0"s);
  for (const char* other : {"ac", "a", "AB", "abc", "", "a\xe3"})
    EXPECT_FALSE(s == other || s.CMP(other)) << other;
  EXPECT_TRUE(s[s.Length()] == '\0' && static_cast<void*>(s) == s.GetPtr());
}

}  // namespace
