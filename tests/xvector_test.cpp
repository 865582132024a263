// XVector's growth and copies, and XString::Tokenize.
#include <gtest/gtest.h>
#include <morvane/XString.h>
#include <morvane/XVector.h>

#include <string>
#include <tuple>

namespace {

// Counts what a vector does with its elements. Without copy or move
// constructors and move assignment, only default construction and copy
// assignment compile. `runs` counts destructions that do not follow the
// slot above: one per array destroyed from its last slot down. A destroyed
// element reads -1.
struct Counted {
  static inline int made, copied, destroyed, runs;
  static inline const Counted* last;
  Counted() { ++made; }
  Counted(const Counted&) = delete;
  Counted& operator=(Counted&&) = delete;
  Counted& operator=(const Counted& other) {
    ++copied;
    value = other.value;
    return *this;
  }
  ~Counted() {
    runs += this + 1 != last;
    last = this;
    ++destroyed;
    value = -1;
  }
  int value = -1;
};

// --- XVector -----------------------------------------------------------------

// Every slot of a new array is default-constructed, the elements in use are
// copied into it, and the old array is destroyed from its last slot down.
TEST(XVector, GrowsTo16ThenDoublesCopyingEveryElement) {
  Counted item;
  {
    XVector<Counted> v;
    EXPECT_EQ(v.items, nullptr);
    Counted::made = Counted::copied = Counted::destroyed = Counted::runs = 0;
    for (item.value = 0; item.value < 64; ++item.value) {
      v.Add(item);
      EXPECT_EQ(v.Capacity(), item.value < 16 ? 16 : item.value < 32 ? 32 : 64);
    }
    // Slots made and copies for 64 elements; 48 slots destroyed in 2 runs.
    EXPECT_EQ(std::make_tuple(Counted::made, Counted::copied,
                              Counted::destroyed, Counted::runs),
              std::make_tuple(16 + 32 + 64, 64 + 16 + 32, 16 + 32, 2));
    v.Add(v[3]);  // an element of its own while the array is full
    for (int i = 0; i < 65; ++i) EXPECT_EQ(v[i].value, i < 64 ? i : 3);
    XVector<Counted> copy(v);
    v[0].value = 100;
    EXPECT_EQ(copy[0].value + copy.Count(), 65);
    Counted::destroyed = Counted::runs = 0;
  }
  EXPECT_EQ(std::make_pair(Counted::destroyed, Counted::runs),
            std::make_pair(2 * 128, 2));
}

// --- Tokenize ----------------------------------------------------------------

// Each token, then '|'.
std::string Joined(XVector<XString>& v) {
  std::string joined;
  for (int i = 0; i < v.Count(); ++i) joined += std::string(v[i]) + "|";
  return joined;
}

// Each row: text, delimiters, tokens. They follow the element that the
// vector already holds; the string keeps its text and length.
TEST(XStringTokenize, SplitsWithStrtokRules) {
  // clang-format off
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"a,b,,c", ",", "a|b|c|"},   {",,a,,", ",", "a|"},   {"", ",", ""},
      {"one  two three ", " ", "one|two|three|"},          {",,,", ",", ""},
      {"a b,c", "", "a b,c|"},     {"k=v;x=y", "=;", "k|v|x|y|"}};
  // clang-format on
  for (const auto& [text, delimiters, tokens] : cases) {
    XVector<XString> v;
    XString s(text), held("held");
    v.Add(held);
    EXPECT_EQ(&s.Tokenize(&v, delimiters), &s);
    EXPECT_EQ(Joined(v), std::string("held|") + tokens) << text;
    EXPECT_EQ(std::string(s.GetPtr(), s.Length()), text);
  }
  // Every byte can be a delimiter; the text ends at its first zero.
  for (int b = 1; b <= 255; ++b) {
    const char d = static_cast<char>(b), delimiters[] = {d, '\0'};
    const char text[] = {'<', d, d, '>', d, '\0'};
    XVector<XString> v;
    XString(text).Tokenize(&v, delimiters);
    EXPECT_EQ(Joined(v), b == '<' ? ">|" : b == '>' ? "<|" : "<|>|") << b;
  }
  XString s("a,b");
  (s += '\0') += 'c';  // the buffer holds a , b 0 c
  XVector<XString> v;
  s.Tokenize(&v, ",");
  EXPECT_EQ(Joined(v) + std::to_string(s.Length()), "a|b|5");
}

}  // namespace
