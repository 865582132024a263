// XVector's growth and copies, and XString::Tokenize. (strings_property_test
// checks Tokenize's splitting with strtok's rules on random texts.)
#include <gtest/gtest.h>
#include <morvane/XString.h>
#include <morvane/XVector.h>

#include <string>
#include <tuple>

namespace {

// Counts what a vector does with its elements: default constructions, copy
// assignments (a copy or move construction would go uncounted; a move
// assignment is a copy here) and destructions. A destroyed element reads -1.
struct Counted {
  static inline int made, copied, destroyed;
  Counted() { ++made; }
  Counted& operator=(const Counted& other) {
    ++copied;
    value = other.value;
    return *this;
  }
  ~Counted() {
    ++destroyed;
    value = -1;
  }
  int value = -1;
};

// --- XVector -----------------------------------------------------------------

// Every slot of a new array is default-constructed, the elements in use are
// copied into it, and every slot of the old array is destroyed.
TEST(XVector, GrowsTo16ThenDoublesCopyingEveryElement) {
  Counted item;
  XVector<Counted> v;
  EXPECT_EQ(v.items, nullptr);
  Counted::made = Counted::copied = Counted::destroyed = 0;
  for (item.value = 0; item.value < 64; ++item.value) {
    v.Add(item);
    EXPECT_EQ(v.Capacity(), item.value < 16 ? 16 : item.value < 32 ? 32 : 64);
  }
  // Slots made and copies for 64 elements; the slots of 2 arrays destroyed.
  EXPECT_EQ(std::make_tuple(Counted::made, Counted::copied, Counted::destroyed),
            std::make_tuple(16 + 32 + 64, 64 + 16 + 32, 16 + 32));
  v.Add(v[3]);  // an element of its own while the array is full
  for (int i = 0; i < 65; ++i) EXPECT_EQ(v[i].value, i < 64 ? i : 3);
  XVector<Counted> copy(v);
  v[0].value = 100;
  EXPECT_EQ(copy[0].value + copy.Count(), 65);
}

// --- Tokenize ----------------------------------------------------------------

// The tokens follow the element that the vector already holds, and end at
// the text's first zero, although the length counts the zero and a character
// after it. The string keeps its buffer's bytes and its length.
TEST(XStringTokenize, AppendsTheTokensBeforeTheFirstZero) {
  XVector<XString> v;
  XString s(",a,,bc,"), held("held");
  (s += '\0') += 'z';
  v.Add(held);
  EXPECT_EQ(&s.Tokenize(&v, ","), &s);
  std::string tokens;
  for (int i = 0; i < v.Count(); ++i) tokens += std::string(v[i]) + "|";
  EXPECT_EQ(tokens, "held|a|bc|");
  EXPECT_EQ(std::string(s.GetPtr(), s.Length() + 1),
            std::string(",a,,bc,\0z", 10));
}

}  // namespace
