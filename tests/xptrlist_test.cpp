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

// Checks the count, the chain walked both ways (an empty list keeps one node
// holding null) and every node's value read by position through the index.
void ExpectHolds(XPtrList& list, Values values) {
  EXPECT_EQ(list.count, static_cast<int>(values.size()));
  if (values.empty()) values.push_back(nullptr);
  Values forward, backward, read;
  for (auto* n = list.first; n != nullptr; n = n->next)
    forward.push_back(n->value);
  for (auto* n = list.last; n != nullptr; n = n->prev)
    backward.insert(backward.begin(), n->value);
  for (int i = 0; i < list.nodecount; ++i) read.push_back(list.Get(i));
  EXPECT_EQ(forward, values);
  EXPECT_EQ(backward, values);
  EXPECT_EQ(read, values);
  EXPECT_TRUE(list.valid);
}

// --- The one node of short lists --------------------------------------------

TEST(XPtrList, NewAndClearedListsKeepOneNodeForTheFirstValue) {
  XPtrList fresh, cleared = Make(3);
  cleared.Get(0);
  cleared.Clear();
  for (XPtrList* list : {&fresh, &cleared}) {
    XPtrList::Node* node = list->first;
    EXPECT_EQ(list->index, nullptr);
    EXPECT_FALSE(list->valid);
    ExpectHolds(*list, {});
    list->AddTail(P(0));
    EXPECT_FALSE(list->valid);
    ExpectHolds(*list, {P(0)});
    EXPECT_EQ(list->RemoveAt(0), P(0));
    EXPECT_EQ(list->RemoveAt(0), nullptr);
    EXPECT_FALSE(list->valid);
    ExpectHolds(*list, {});
    EXPECT_EQ(list->first, node);
  }
}

// --- Removing, copying, assigning --------------------------------------------

TEST(XPtrList, RemoveAtRelinksBothNeighbours) {
  XPtrList list = Make(4);
  const struct {
    int at;
    Values left;
  } steps[] = {{2, {P(0), P(1), P(3)}}, {0, {P(1), P(3)}}, {1, {P(1)}}};
  for (const auto& step : steps) {
    void* removed = list.Get(step.at);
    EXPECT_EQ(list.RemoveAt(step.at), removed);
    EXPECT_FALSE(list.valid);
    ExpectHolds(list, step.left);
  }
}

TEST(XPtrList, CopiesShareTheValuesButNotTheNodes) {
  XPtrList empty, source = Make(3);
  XPtrList empty_copy(empty), copy(source), assigned = Make(2);
  assigned = source;
  XPtrList& alias = assigned;
  assigned = alias;
  EXPECT_TRUE(source.valid && copy.valid && assigned.valid && empty_copy.valid);
  EXPECT_EQ(empty_copy.index[0], nullptr);
  source.RemoveAt(1);
  copy.AddTail(P(3));
  ExpectHolds(source, {P(0), P(2)});
  ExpectHolds(copy, {P(0), P(1), P(2), P(3)});
  ExpectHolds(assigned, {P(0), P(1), P(2)});
}

}  // namespace
