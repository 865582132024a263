#include <gtest/gtest.h>
#include <morvane/XString.h>
#include <morvane/XVector.h>

#include <string>
#include <vector>

namespace {

// An element that counts what the vector does with it. Moves are counted
// separately: the vector must copy, never move.
struct Counted {
  static int constructions, copies, moves, destructions;
  static std::vector<const Counted*> destroyed;

  static void Reset() {
    constructions = copies = moves = destructions = 0;
    destroyed.clear();
  }

  Counted() { ++constructions; }
  explicit Counted(int v) : value(v) { ++constructions; }
  Counted(const Counted& other) : value(other.value) { ++constructions; }
  Counted(Counted&& other) noexcept : value(other.value) { ++moves; }
  Counted& operator=(const Counted& other) {
    value = other.value;
    ++copies;
    return *this;
  }
  Counted& operator=(Counted&& other) noexcept {
    value = other.value;
    ++moves;
    return *this;
  }
  ~Counted() {
    ++destructions;
    destroyed.push_back(this);
    value = -999;  // a destroyed element must never be read again
  }

  int value = -1;
};
int Counted::constructions, Counted::copies, Counted::moves,
    Counted::destructions;
std::vector<const Counted*> Counted::destroyed;

void AddValues(XVector<Counted>& v, int from, int to) {
  for (int i = from; i < to; ++i) {
    const Counted item(i);
    v.Add(item);
  }
}

std::vector<std::string> Texts(XVector<XString>& v) {
  std::vector<std::string> texts;
  for (int i = 0; i < v.Count(); ++i) texts.emplace_back(v[i].GetPtr());
  return texts;
}

// --- Growth ------------------------------------------------------------------

TEST(XVector, NewVectorOwnsNoArray) {
  Counted::Reset();
  XVector<Counted> v;
  EXPECT_EQ(v.items, nullptr);
  EXPECT_EQ(v.Count(), 0);
  EXPECT_EQ(v.Capacity(), 0);
  EXPECT_EQ(Counted::constructions, 0);
}

TEST(XVector, GrowsTo16ThenDoublesCopyingElements) {
  XVector<Counted> v;
  const Counted item(7);
  Counted::Reset();
  v.Add(item);
  EXPECT_EQ(v.Capacity(), 16);
  EXPECT_EQ(Counted::constructions, 16);  // every slot is constructed
  EXPECT_EQ(Counted::copies, 1);

  AddValues(v, 1, 16);
  Counted::Reset();
  v.Add(item);  // the seventeenth
  EXPECT_EQ(v.Count(), 17);
  EXPECT_EQ(v.Capacity(), 32);
  EXPECT_EQ(Counted::constructions, 32);
  EXPECT_EQ(Counted::copies, 16 + 1);
  EXPECT_EQ(Counted::destructions, 16);  // the old array
  EXPECT_EQ(Counted::moves, 0);
  EXPECT_EQ(v[0].value, 7);
  for (int i = 1; i < 16; ++i) EXPECT_EQ(v[i].value, i);
  EXPECT_EQ(v[16].value, 7);

  AddValues(v, 17, 33);
  EXPECT_EQ(v.Capacity(), 64);
  EXPECT_EQ(v.Count(), 33);
  EXPECT_EQ(v[32].value, 32);
  EXPECT_EQ(Counted::moves, 0);
}

TEST(XVector, AddOfOwnElementWhileFullCopiesItFirst) {
  XVector<Counted> v;
  AddValues(v, 0, 16);
  v.Add(v[3]);
  EXPECT_EQ(v.Count(), 17);
  EXPECT_EQ(v[16].value, 3);
  v.Add(v[16]);  // not full now
  EXPECT_EQ(v[17].value, 3);

  XVector<XString> strings;
  XString text("first");
  for (int i = 0; i < 16; ++i) strings.Add(text);
  strings.Add(strings[15]);
  EXPECT_STREQ(strings[16].GetPtr(), "first");
}

TEST(XVector, DestructionDestroysEverySlotLastToFirst) {
  {
    XVector<Counted> v;
    AddValues(v, 0, 3);
    Counted::Reset();
  }
  ASSERT_EQ(Counted::destructions, 16);
  for (size_t i = 1; i < Counted::destroyed.size(); ++i) {
    EXPECT_LT(Counted::destroyed[i], Counted::destroyed[i - 1]);
  }
}

TEST(XVector, CopiesHoldTheirOwnElements) {
  XVector<Counted> a;
  AddValues(a, 0, 20);
  XVector<Counted> b(a);
  EXPECT_EQ(b.Count(), 20);
  EXPECT_EQ(b.Capacity(), 32);
  EXPECT_NE(b.items, a.items);
  a[5].value = 500;
  EXPECT_EQ(b[5].value, 5);

  XVector<Counted> c;
  AddValues(c, 0, 2);
  c = a;
  EXPECT_EQ(c.Count(), 20);
  EXPECT_EQ(c[5].value, 500);
  XVector<Counted>& same = c;
  c = same;
  EXPECT_EQ(c.Count(), 20);
  EXPECT_EQ(c[19].value, 19);

  XVector<Counted> empty;
  XVector<Counted> copy_of_empty(empty);
  EXPECT_EQ(copy_of_empty.items, nullptr);
}

// --- Tokenize ----------------------------------------------------------------

struct SplitCase {
  const char* text;
  const char* delimiters;
  std::vector<std::string> tokens;
};

TEST(XStringTokenize, SplitsWithStrtokRules) {
  const SplitCase cases[] = {
      {"a,b,,c", ",", {"a", "b", "c"}},
      {",,a,,", ",", {"a"}},
      {"one  two three ", " ", {"one", "two", "three"}},
      {"", ",", {}},
      {",,,", ",", {}},
      {"a b,c", "", {"a b,c"}},
      {"", "", {}},
      {"k=v;x=y", "=;", {"k", "v", "x", "y"}},
      {"abc", "cba", {}},
  };
  for (const SplitCase& c : cases) {
    XString s(c.text);
    XVector<XString> tokens;
    EXPECT_EQ(&s.Tokenize(&tokens, c.delimiters), &s);
    EXPECT_EQ(Texts(tokens), c.tokens)
        << "'" << c.text << "' at '" << c.delimiters << "'";
  }
}

TEST(XStringTokenize, AppendsAfterExistingElements) {
  XVector<XString> tokens;
  XString a("a"), b("b");
  tokens.Add(a);
  tokens.Add(b);
  XString s("x y");
  s.Tokenize(&tokens, " ");
  EXPECT_EQ(Texts(tokens), (std::vector<std::string>{"a", "b", "x", "y"}));
  XString blank(" ");
  blank.Tokenize(&tokens, " ");
  EXPECT_EQ(tokens.Count(), 4);
}

TEST(XStringTokenize, LeavesStringUnchanged) {
  XString s(" a,b ");
  const char* buffer = s.GetPtr();
  XVector<XString> tokens;
  s.Tokenize(&tokens, ", ");
  EXPECT_EQ(s.GetPtr(), buffer);
  EXPECT_STREQ(s.GetPtr(), " a,b ");
  EXPECT_EQ(s.Length(), 5);
}

TEST(XStringTokenize, TextAfterFirstZeroIsIgnored) {
  XString s("a,b");
  s += '\0';
  s += 'c';  // stored after the zero: the buffer holds a,b 0 c
  ASSERT_EQ(s[4], 'c');
  XVector<XString> tokens;
  s.Tokenize(&tokens, ",");
  EXPECT_EQ(Texts(tokens), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(s.Length(), 5);
}

TEST(XStringTokenize, EveryByteSplitsAsDelimiter) {
  std::string all;
  for (int b = 1; b <= 255; ++b) {
    const char d = static_cast<char>(b);
    all += d;
    const char delimiters[] = {d, '\0'};
    const char text[] = {'<', d, d, '>', d, '\0'};
    XString s(text);
    XVector<XString> tokens;
    s.Tokenize(&tokens, delimiters);
    const std::vector<std::string> expected =
        b == '<'   ? std::vector<std::string>{">"}
        : b == '>' ? std::vector<std::string>{"<"}
                   : std::vector<std::string>{"<", ">"};
    EXPECT_EQ(Texts(tokens), expected) << "byte " << b;
  }
  XString s("any text\x80\xff");
  XVector<XString> tokens;
  s.Tokenize(&tokens, all.c_str());
  EXPECT_EQ(tokens.Count(), 0);
}

// The delimiters may live in an element that a regrowth releases.
TEST(XStringTokenize, DelimitersMayLiveInTheReceivingVector) {
  XVector<XString> tokens;
  XString comma(",");
  for (int i = 0; i < 16; ++i) tokens.Add(comma);
  XString s("a,b,c");
  s.Tokenize(&tokens, tokens[0].GetPtr());
  ASSERT_EQ(tokens.Count(), 19);
  EXPECT_STREQ(tokens[16].GetPtr(), "a");
  EXPECT_STREQ(tokens[18].GetPtr(), "c");
}

}  // namespace
