#include <gtest/gtest.h>
#include <morvane/XPtrList.h>

#include <vector>

namespace {

int g_values[8];
void* P(int i) { return &g_values[i]; }

// Walks the chain both ways against `expected` and the counters, so a broken
// link anywhere shows up.
void ExpectChain(const XPtrList& list, const std::vector<void*>& expected) {
  ASSERT_EQ(list.count, static_cast<int>(expected.size()));
  ASSERT_EQ(list.nodecount, expected.empty() ? 1 : list.count);
  EXPECT_EQ(list.first->prev, nullptr);
  EXPECT_EQ(list.last->next, nullptr);
  std::vector<void*> forward, backward;
  for (const XPtrList::Node* n = list.first; n != nullptr; n = n->next)
    forward.push_back(n->value);
  for (const XPtrList::Node* n = list.last; n != nullptr; n = n->prev)
    backward.insert(backward.begin(), n->value);
  const std::vector<void*> nodes =
      expected.empty() ? std::vector<void*>{nullptr} : expected;
  EXPECT_EQ(forward, nodes);
  EXPECT_EQ(backward, nodes);
}

XPtrList MakeList(int n) {
  XPtrList list;
  for (int i = 0; i < n; ++i) list.AddTail(P(i));
  return list;
}

// --- Empty list and appending ------------------------------------------------

TEST(XPtrList, NewListHasOneNullNodeAndBuildsAOneEntryIndex) {
  XPtrList list;
  ExpectChain(list, {});
  EXPECT_EQ(list.first, list.last);
  EXPECT_FALSE(list.valid);
  EXPECT_EQ(list.index, nullptr);
  EXPECT_EQ(list.Get(0), nullptr);
  EXPECT_TRUE(list.valid);
  ASSERT_NE(list.index, nullptr);
  EXPECT_EQ(list.index[0], nullptr);
}

TEST(XPtrList, FirstValueReusesTheNodeAndAddTailInvalidatesTheIndex) {
  XPtrList list;
  XPtrList::Node* node = list.first;
  list.AddTail(P(0));
  EXPECT_EQ(list.last, node);
  ExpectChain(list, {P(0)});
  EXPECT_EQ(list.Get(0), P(0));
  list.AddTail(P(1));
  EXPECT_FALSE(list.valid);
  EXPECT_EQ(list.first, node);
  EXPECT_NE(list.last, node);
  ExpectChain(list, {P(0), P(1)});
  EXPECT_EQ(list.Get(1), P(1));
  EXPECT_TRUE(list.valid);
}

// --- RemoveAt
// ------------------------------------------------------------------

TEST(XPtrList, RemoveAtUnlinksInBothDirections) {
  struct Case {
    int size;
    int position;
    std::vector<void*> left;
  };
  const Case cases[] = {
      {3, 0, {P(1), P(2)}},
      {3, 1, {P(0), P(2)}},
      {3, 2, {P(0), P(1)}},
      {2, 1, {P(0)}},
      {7, 5, {P(0), P(1), P(2), P(3), P(4), P(6)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " @" << c.position);
    XPtrList list = MakeList(c.size);
    list.Get(0);
    EXPECT_EQ(list.RemoveAt(c.position), P(c.position));
    EXPECT_FALSE(list.valid);
    ExpectChain(list, c.left);
    for (size_t i = 0; i < c.left.size(); ++i)
      EXPECT_EQ(list.Get(static_cast<int>(i)), c.left[i]);
  }
}

TEST(XPtrList, RemovingTheOnlyElementKeepsItsNode) {
  XPtrList list = MakeList(1);
  XPtrList::Node* node = list.first;
  EXPECT_EQ(list.RemoveAt(0), P(0));
  EXPECT_EQ(list.first, node);
  ExpectChain(list, {});
  list.AddTail(P(5));
  EXPECT_EQ(list.first, node);
  ExpectChain(list, {P(5)});
}

TEST(XPtrList, RemoveOutsideTheListChangesNothing) {
  XPtrList empty;
  empty.Get(0);
  EXPECT_EQ(empty.RemoveAt(0), nullptr);
  EXPECT_EQ(empty.RemoveAt(1), nullptr);
  ExpectChain(empty, {});
  for (int position : {-1, 3, 1 << 30}) {
    SCOPED_TRACE(position);
    XPtrList list = MakeList(3);
    list.Get(0);
    EXPECT_EQ(list.RemoveAt(position), nullptr);
    EXPECT_TRUE(list.valid);
    ExpectChain(list, {P(0), P(1), P(2)});
  }
}

TEST(XPtrList, RemoveAtZeroDrainsInOrder) {
  XPtrList list = MakeList(5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(list.Get(0), P(i));
    EXPECT_EQ(list.RemoveAt(0), P(i));
  }
  ExpectChain(list, {});
}

// --- Clear, copy and assignment
// ------------------------------------------------

TEST(XPtrList, ClearStartsAgainAsNew) {
  XPtrList list = MakeList(4);
  list.Get(0);
  list.Clear();
  ExpectChain(list, {});
  EXPECT_FALSE(list.valid);
  EXPECT_EQ(list.index, nullptr);
  list.AddTail(P(7));
  ExpectChain(list, {P(7)});
}

TEST(XPtrList, CopyHasCurrentIndexAndOwnNodes) {
  for (int size : {0, 2}) {
    XPtrList source = MakeList(size);
    XPtrList copy(source);
    EXPECT_TRUE(copy.valid);
    EXPECT_EQ(copy.index[0], size == 0 ? nullptr : P(0));
    EXPECT_NE(copy.first, source.first);
  }
  XPtrList source = MakeList(3);
  XPtrList copy(source);
  EXPECT_TRUE(source.valid);
  EXPECT_EQ(source.RemoveAt(1), P(1));
  copy.AddTail(P(3));
  ExpectChain(source, {P(0), P(2)});
  ExpectChain(copy, {P(0), P(1), P(2), P(3)});
}

TEST(XPtrList, AssignmentReplacesTheTargetsElements) {
  XPtrList source = MakeList(2);
  XPtrList target = MakeList(5);
  target = source;
  EXPECT_TRUE(target.valid);
  source.RemoveAt(0);
  ExpectChain(target, {P(0), P(1)});
  XPtrList& alias = target;
  target = alias;
  ExpectChain(target, {P(0), P(1)});
  target = XPtrList();
  ExpectChain(target, {});
}

}  // namespace
