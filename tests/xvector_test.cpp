// XVector's growth and copies, counted on an element type that records
// what the vector does with it. (The convert fuzz harness checks Count and
// Capacity as Tokenize fills a vector.)
#include <gtest/gtest.h>
#include <morvane/XVector.h>

#include <string>
#include <vector>

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

// Adds 0 to 63 to `v`.
void Fill(XVector<Counted>& v) {
  Counted item;
  for (item.value = 0; item.value < 64; ++item.value) v.Add(item);
}

// The values that `v` holds.
std::string Values(const XVector<Counted>& v) {
  std::string values;
  for (const Counted& c : v) values += std::to_string(c.value) + " ";
  return values;
}

// Every slot of a new array is default-constructed, the elements in use are
// copied into it, and every slot of the old array is destroyed. Made: Fill's
// item and slots of 16, 32 and 64; copied: 64 adds and 16 + 32 elements;
// destroyed: the 16 + 32 old slots and the item.
TEST(XVector, GrowsTo16ThenDoublesCopyingEveryElement) {
  XVector<Counted> v;
  EXPECT_EQ(v.begin(), nullptr);
  Counted::made = Counted::copied = Counted::destroyed = 0;
  Fill(v);
  EXPECT_EQ((std::vector{Counted::made, Counted::copied, Counted::destroyed,
                         v.Count(), v.Capacity()}),
            (std::vector{113, 112, 49, 64, 64}));
}

// Its own element, added while the array is full, is copied before the
// array is replaced.
TEST(XVector, AddsItsOwnElementWhileFull) {
  XVector<Counted> v;
  Fill(v);
  v.Add(v[3]);
  EXPECT_EQ(v.end() - v.begin(), 65);
  EXPECT_EQ(v.Capacity(), 128);
  for (int i = 0; i < 65; ++i) EXPECT_EQ(v[i].value, i < 64 ? i : 3) << i;
}

// Copies and assignments get arrays of their own, of the same capacity.
TEST(XVector, CopiesOwnTheirArrays) {
  XVector<Counted> v, assigned, empty;
  Fill(v);
  const std::string filled = Values(v);
  XVector<Counted> copy(v), copied_empty(empty);
  assigned = v;
  assigned = static_cast<XVector<Counted>&>(assigned);
  v[0].value = 100;
  for (const XVector<Counted>* c : {&copy, &assigned}) {
    EXPECT_EQ(c->Capacity(), 64);
    EXPECT_EQ(Values(*c), filled);
  }
  EXPECT_EQ(copied_empty.begin(), nullptr);
}

}  // namespace
