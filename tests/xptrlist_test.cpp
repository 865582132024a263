#include <gtest/gtest.h>
#include <morvane/XPtrList.h>

#include <vector>

namespace {

using Values = std::vector<void*>;
int g_items[4];
void* P(int i) { return &g_items[i]; }

XPtrList Make(int size) {
  XPtrList list;
  for (int i = 0; i < size; ++i) list.AddTail(P(i));
  return list;
}

// The count, the chain walked both ways and the index read by position all
// agree with `values` (an empty list keeps one node, holding null).
void ExpectHolds(XPtrList& list, Values values) {
  EXPECT_EQ(list.count, static_cast<int>(values.size()));
  if (values.empty()) values.push_back(nullptr);
  Values forward, backward, read;
  for (auto* n = list.first; n; n = n->next) forward.push_back(n->value);
  for (auto* n = list.last; n; n = n->prev) backward.push_back(n->value);
  for (int i = 0; i < list.nodecount; ++i) read.push_back(list.Get(i));
  EXPECT_EQ((std::vector<Values>{
                forward, {backward.rbegin(), backward.rend()}, read}),
            std::vector<Values>(3, values));
  EXPECT_TRUE(list.valid);
}

// --- The one node of short lists ---------------------------------------------

TEST(XPtrList, NewAndClearedListsKeepOneNodeForTheFirstValue) {
  XPtrList fresh, cleared = Make(3);
  cleared.Get(0);
  cleared.Clear();
  for (XPtrList* list : {&fresh, &cleared}) {
    XPtrList::Node* node = list->first;
    EXPECT_TRUE(list->index == nullptr && !list->valid);
    ExpectHolds(*list, {});
    list->AddTail(P(0));
    ExpectHolds(*list, {P(0)});
    EXPECT_EQ(list->RemoveAt(0), P(0));
    EXPECT_EQ(list->RemoveAt(0), nullptr);
    ExpectHolds(*list, {});
    EXPECT_EQ(list->first, node);
  }
}

// --- Removing, copying, assigning --------------------------------------------

TEST(XPtrList, RemoveAtRelinksBothNeighbours) {
  XPtrList list = Make(4);
  Values left = {P(0), P(1), P(2), P(3)};
  for (int at : {2, 0, 1}) {  // middle, front, end
    EXPECT_EQ(list.RemoveAt(at), left[at]);
    left.erase(left.begin() + at);
    ExpectHolds(list, left);
  }
}

TEST(XPtrList, CopiesShareTheValuesButNotTheNodes) {
  XPtrList empty, source = Make(3);
  XPtrList empty_copy(empty), copy(source), assigned = Make(2);
  assigned = source;
  assigned = *&assigned;  // self-assignment keeps the values
  EXPECT_TRUE(source.valid && copy.valid && assigned.valid && empty_copy.valid);
  EXPECT_EQ(empty_copy.index[0], nullptr);
  source.RemoveAt(1);
  copy.AddTail(P(3));
  ExpectHolds(source, {P(0), P(2)});
  ExpectHolds(copy, {P(0), P(1), P(2), P(3)});
  ExpectHolds(assigned, {P(0), P(1), P(2)});
}

}  // namespace
