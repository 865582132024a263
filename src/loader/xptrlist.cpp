// XPtrList: the doubly linked chain and its on-demand index.
#include <morvane/XPtrList.h>

#include <utility>

XPtrList::XPtrList() { Init(); }

XPtrList::XPtrList(XPtrList& other) {
  Init();
  // Reading through Get builds the source's index when it is stale, so the
  // source ends up with a current index as well.
  for (int i = 0; i < other.count; ++i) AddTail(other.Get(i));
  BuildIndex();
}

XPtrList& XPtrList::operator=(const XPtrList& other) {
  if (this == &other) return *this;
  ReleaseAll();
  Init();
  // `other` is const, so its chain is walked rather than its index rebuilt.
  CopyValuesFrom(other.first, other.count);
  BuildIndex();
  return *this;
}

XPtrList::~XPtrList() { ReleaseAll(); }

void XPtrList::Init() {
  first = new Node{nullptr, nullptr, nullptr};
  last = first;
  index = nullptr;
  nodecount = 1;
  count = 0;
  valid = false;
}

void XPtrList::ReleaseAll() {
  while (first->next != nullptr) {
    Node* old = first;
    first = first->next;
    delete old;
  }
  delete first;
  first = last = nullptr;
  delete[] index;
  index = nullptr;
}

void XPtrList::CopyValuesFrom(Node* source_first, int source_count) {
  Node* node = source_first;
  for (int i = 0; i < source_count && node != nullptr; ++i) {
    AddTail(node->value);
    node = node->next;
  }
}

void XPtrList::AddTail(void* value) {
  valid = false;
  if (count == 0) {
    last->value = value;
  } else {
    Node* node = new Node{value, nullptr, last};
    last->next = node;
    last = node;
    ++nodecount;
  }
  ++count;
}

void* XPtrList::Get(int i) {
  if (!valid) BuildIndex();
  return std::as_const(*this).Get(i);
}

// A stale index stays stale: the value is then found by walking the chain.
void* XPtrList::Get(int i) const {
  if (i < 0 || i >= nodecount) return nullptr;
  if (valid) return index[i];
  const Node* node = first;
  for (int at = 0; at < i; ++at) node = node->next;
  return node->value;
}

void XPtrList::BuildIndex() {
  delete[] index;
  index = new void*[nodecount];
  int i = 0;
  for (Node* node = first; node != nullptr; node = node->next)
    index[i++] = node->value;
  valid = true;
}

void* XPtrList::RemoveAt(int i) {
  // RemoveAt(0) on an empty list takes the one-node path below.
  if (i < 0 || (i >= count && !(i == 0 && count == 0))) return nullptr;
  valid = false;

  // The list keeps its one node when the element removed was the only one.
  auto take_single = [this]() {
    void* result = first->value;
    first->value = nullptr;
    count = 0;
    nodecount = 1;
    return result;
  };

  Node* removed;
  if (i == 0) {
    if (first->next == nullptr) return take_single();
    removed = first;
    first = first->next;
    first->prev = nullptr;
  } else if (i == count - 1) {
    if (last->prev == nullptr) return take_single();
    removed = last;
    last = last->prev;
    last->next = nullptr;
  } else {
    Node* prev = first;
    removed = first->next;
    for (int at = 1; at < i; ++at) {
      prev = removed;
      removed = removed->next;
    }
    // 0 < i < count - 1, so the node has a successor.
    prev->next = removed->next;
    removed->next->prev = prev;
  }

  void* result = removed->value;
  delete removed;
  --nodecount;
  --count;
  return result;
}

void XPtrList::Clear() {
  ReleaseAll();
  Init();
}

int XPtrList::Count() { return std::as_const(*this).Count(); }

int XPtrList::Count() const { return count; }
