#include <gtest/gtest.h>
#include <morvane/XPtrList.h>

#include <vector>

namespace {

int g_items[4];
void* P(int i) { return &g_items[i]; }
XPtrList Make(int size) {  // P(0) .. P(size - 1)
  XPtrList list;
  for (int i = 0; i < size; ++i) list.AddTail(P(i));
  return list;
}

// The list holds P(i) for each i of `items`: so say its count, its chain
// walked both ways, and its values read on the const list (walking the chain
// while the index is stale) and then through the index, from one place
// before the list to one past it (null there). An empty list keeps one node,
// holding null.
void ExpectHolds(XPtrList& list, std::vector<int> items, const char* label) {
  SCOPED_TRACE(label);
  EXPECT_EQ(list.count, static_cast<int>(items.size()));
  std::vector<void*> want(items.empty()), got[4];  // null in an empty list
  for (int i : items) want.push_back(P(i));
  for (auto* n = list.first; n; n = n->next) got[0].push_back(n->value);
  for (auto* n = list.last; n; n = n->prev)
    got[1].insert(got[1].begin(), n->value);
  const XPtrList& const_list = list;
  for (int i = -1; i <= list.nodecount; ++i)
    got[2].push_back(const_list.Get(i));
  for (int i = -1; i <= list.nodecount; ++i) got[3].push_back(list.Get(i));
  for (int k = 0; k < 2; ++k) EXPECT_EQ(got[k], want);
  want.insert(want.begin(), nullptr), want.push_back(nullptr);  // outside
  for (int k = 2; k < 4; ++k) EXPECT_EQ(got[k], want);
}

// --- removing ----------------------------------------------------------------

// From a list of P(0) .. P(size - 1) with a current index, RemoveAt(at)
// returns P(at) inside the list and null outside it. The index goes stale
// when a value goes, and for RemoveAt(0) on an empty list; elsewhere outside
// the list nothing changes.
TEST(XPtrList, RemoveAtTakesTheValueAtItsPositionOnly) {
  // clang-format off
  const struct { const char* label; int size, at; std::vector<int> left; }
  kRows[] = {
    {"front", 3, 0, {1, 2}}, {"middle", 4, 2, {0, 1, 3}}, {"end", 3, 2, {0, 1}},
    {"only value", 1, 0, {}}, {"empty", 0, 0, {}}, {"past empty", 0, 1, {}},
    {"negative", 2, -1, {0, 1}}, {"count", 2, 2, {0, 1}},
  };
  // clang-format on
  for (const auto& row : kRows) {
    XPtrList list = Make(row.size);
    list.Get(0);
    const bool inside = row.at >= 0 && row.at < row.size;
    EXPECT_EQ(list.RemoveAt(row.at), inside ? P(row.at) : nullptr) << row.label;
    const bool stale = inside || (row.size == 0 && row.at == 0);
    EXPECT_EQ(list.valid, !stale) << row.label;
    ExpectHolds(list, row.left, row.label);
  }
}

// --- copying -----------------------------------------------------------------

// Copies hold the values in nodes of their own, with a current index; the
// copy constructor also brings its source's index up to date.
TEST(XPtrList, CopiesHoldTheSameValuesInNodesOfTheirOwn) {
  XPtrList empty, source = Make(3), assigned = Make(2), emptied = Make(2);
  XPtrList empty_copy(empty), copy(source);
  assigned = source;
  emptied = empty;
  assigned = *&assigned;  // self-assignment changes nothing
  EXPECT_EQ((std::vector<bool>{source.valid, copy.valid, empty_copy.valid,
                               assigned.valid, emptied.valid}),
            std::vector<bool>(5, true));
  source.RemoveAt(1);
  copy.AddTail(P(3));
  ExpectHolds(source, {0, 2}, "source");
  ExpectHolds(copy, {0, 1, 2, 3}, "copy");
  ExpectHolds(assigned, {0, 1, 2}, "assigned");
  ExpectHolds(empty_copy, {}, "copy of an empty list");
  ExpectHolds(emptied, {}, "assigned an empty list");
}

}  // namespace
