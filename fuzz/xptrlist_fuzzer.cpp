// XPtrList operation sequences against a std::deque<void*>: count, order and
// values, with the chain walked both ways and the index checked whenever it
// claims to be current. The values are made-up addresses; the list never
// dereferences them.
#include <morvane/XPtrList.h>

#include <cstdint>
#include <deque>
#include <utility>

#include "fuzz_input.h"

namespace {

using Model = std::deque<void*>;

constexpr size_t kMaxCount = 2048;

void* Value(fuzz::Input& in) {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(in.Word()));
}

void CheckList(XPtrList& list, const Model& model) {
  const int n = static_cast<int>(model.size());
  FUZZ_CHECK(list.Count() == n && std::as_const(list).Count() == n);
  FUZZ_CHECK(list.count == n);
  FUZZ_CHECK(list.nodecount == (n == 0 ? 1 : n));
  FUZZ_CHECK(list.first != nullptr && list.first->prev == nullptr);
  FUZZ_CHECK(list.last != nullptr && list.last->next == nullptr);
  if (n == 0) {
    FUZZ_CHECK(list.first == list.last && list.first->value == nullptr);
  }
  const XPtrList::Node* node = list.first;
  for (int i = 0; i < list.nodecount; ++i, node = node->next) {
    FUZZ_CHECK(node != nullptr);
    FUZZ_CHECK(i >= n || node->value == model[static_cast<size_t>(i)]);
    FUZZ_CHECK(node->next == nullptr ? node == list.last
                                     : node->next->prev == node);
  }
  FUZZ_CHECK(node == nullptr);
  if (list.valid) {
    FUZZ_CHECK(list.index != nullptr);
    for (int i = 0; i < n; ++i)
      FUZZ_CHECK(list.index[i] == model[static_cast<size_t>(i)]);
  }
}

// Fills `list` and `model` with a few values from the input.
void Fill(fuzz::Input& in, XPtrList& list, Model& model) {
  for (int i = in.Byte() % 8; i > 0; --i) {
    void* v = Value(in);
    list.AddTail(v);
    model.push_back(v);
  }
}

void Step(fuzz::Input& in, XPtrList& list, Model& model) {
  const int n = static_cast<int>(model.size());
  switch (in.Byte() % 8) {
    case 0:
    case 1: {  // the first value goes into the node of the empty list
      const XPtrList::Node* const first = list.first;
      void* v = Value(in);
      list.AddTail(v);
      model.push_back(v);
      FUZZ_CHECK(!list.valid && (n > 0 || list.first == first));
      break;
    }
    case 2: {  // Get(0) on an empty list is null
      const int i = in.Index(0, n - 1);
      void* const value = n == 0 ? nullptr : model[i];
      const bool valid = list.valid;  // a stale index stays stale
      FUZZ_CHECK(std::as_const(list).Get(i) == value && list.valid == valid);
      FUZZ_CHECK(list.Get(i) == value);
      FUZZ_CHECK(list.valid);
      break;
    }
    case 3: {  // RemoveAt(0) on an empty list is null
      const int i = in.Index(0, n - 1);
      void* removed = list.RemoveAt(i);
      FUZZ_CHECK(!list.valid);
      if (n == 0) {
        FUZZ_CHECK(removed == nullptr);
      } else {
        FUZZ_CHECK(removed == model[i]);
        model.erase(model.begin() + i);
      }
      break;
    }
    case 4: {  // out of range: null, nothing read or removed
      const int i = in.Byte() % 2 == 0 ? n + in.Byte() : -1 - in.Byte();
      FUZZ_CHECK(std::as_const(list).Get(i) == nullptr);
      FUZZ_CHECK(list.Get(i) == nullptr && list.valid);  // the index rebuilt
      if (n == 0 && i == 0) break;
      FUZZ_CHECK(list.RemoveAt(i) == nullptr && list.valid);
      break;
    }
    case 5:
      list.BuildIndex();
      FUZZ_CHECK(list.valid && list.index[0] == (n == 0 ? nullptr : model[0]));
      break;
    case 6:
      list.Clear();
      model.clear();
      FUZZ_CHECK(!list.valid && list.index == nullptr);
      break;
    default: {                        // copies share the values, not the nodes
      const bool valid = list.valid;  // an empty source is left as it is
      XPtrList copy(list);
      FUZZ_CHECK(copy.valid && list.valid == (n > 0 || valid));
      CheckList(copy, model);
      Model other_model;
      XPtrList other;
      Fill(in, other, other_model);
      FUZZ_CHECK(&(copy = other) == &copy && copy.valid);
      CheckList(copy, other_model);
      const XPtrList& same = copy;
      FUZZ_CHECK(&(copy = same) == &copy && copy.valid);
      CheckList(copy, other_model);
      copy.AddTail(nullptr);
      if (in.Byte() % 2 == 0) {
        list = copy;
        model = other_model;
        model.push_back(nullptr);
      }
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  XPtrList list;
  Model model;
  while (!in.Done()) {
    Step(in, list, model);
    CheckList(list, model);
    if (model.size() > kMaxCount) {
      list.Clear();
      model.clear();
    }
  }
  return 0;
}
