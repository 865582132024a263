// XVector's growth and copies, counted on an element type that records
// what the vector does with it. (xstring_test checks Tokenize, which fills
// an XVector.)
#include <gtest/gtest.h>
#include <morvane/XVector.h>

#include <string>

namespace {

// Counts default constructions, copy assignments (a copy or move
// construction would go uncounted; a move assignment is a copy here) and
// destructions. A destroyed element reads -1.
struct Counted {
  static inline int made, copied, destroyed;
  int value = -1;
  Counted() { ++made; }
  Counted& operator=(const Counted& other) {
    return ++copied, value = other.value, *this;
  }
  ~Counted() { value = -1, ++destroyed; }
};

// Adds elements 0 to 63 to an empty vector; returns the elements made,
// copied and destroyed meanwhile.
std::string Fill(XVector<Counted>& v) {
  Counted item;
  Counted::made = Counted::copied = Counted::destroyed = 0;
  for (item.value = 0; item.value < 64; ++item.value) {
    v.Add(item);
    EXPECT_EQ(v.Capacity(), item.value < 16 ? 16 : item.value < 32 ? 32 : 64);
  }
  return std::to_string(Counted::made) + " " + std::to_string(Counted::copied) +
         " " + std::to_string(Counted::destroyed);
}

// --- Growth ------------------------------------------------------------------

// Every slot of a new array is default-constructed, the elements in use are
// copied into it, and every slot of the old array is destroyed: slots of 16,
// 32 and 64; 64 adds and 16 + 32 copies; the 16 + 32 old slots.
TEST(XVector, GrowsTo16ThenDoublesCopyingEveryElement) {
  XVector<Counted> v;
  EXPECT_EQ(v.begin(), nullptr);
  EXPECT_EQ(Fill(v), "112 112 48");
}

// Its own element, added while the array is full, is copied before the
// array is replaced.
TEST(XVector, AddsItsOwnElementWhileFull) {
  XVector<Counted> v;
  Fill(v);
  v.Add(v[3]);
  EXPECT_EQ(v.end() - v.begin(), 65);
  for (int i = 0; i < 65; ++i) EXPECT_EQ(v[i].value, i < 64 ? i : 3) << i;
}

// Copies and assignments get arrays of their own, of the same capacity.
TEST(XVector, CopiesOwnTheirArrays) {
  XVector<Counted> v, assigned, empty;
  Fill(v);
  XVector<Counted> copy(v), copied_empty(empty);
  assigned = v;
  assigned = static_cast<XVector<Counted>&>(assigned);
  v[0].value = 100;
  for (const XVector<Counted>* c : {&copy, &assigned}) {
    EXPECT_EQ(c->Count(), 64);
    EXPECT_EQ(c->Capacity(), 64);
    EXPECT_EQ((*c)[0].value, 0);
    EXPECT_EQ((*c)[63].value, 63);
  }
  EXPECT_EQ(copied_empty.begin(), nullptr);
}

}  // namespace
