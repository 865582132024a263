// morvane/XPtrList.h: an ordered list of untyped pointers.
//
// A doubly linked chain of nodes with an array of the values in chain order
// (the index) that is rebuilt on demand, so reading by position costs one
// array access while the index is current. An empty list still owns one node
// whose value is null. The list never owns what its values point to.
//
// Thread-safety: none; even Get may rebuild the index, so every access to one
// list is serialised by its user.
#ifndef MORVANE_XPTRLIST_H_
#define MORVANE_XPTRLIST_H_

#include <morvane/export.h>

class MORVANE_API XPtrList {
 public:
  struct Node {
    void* value;
    Node* next;  // null at the last node
    Node* prev;  // null at the first node
  };

  // An empty list: one node with a null value, no index.
  XPtrList();
  // A list of the same values (the pointees are shared); builds `other`'s
  // index if it is not current, and starts with a current index of its own.
  XPtrList(XPtrList& other);
  // Releases this list's nodes and index, then copies `other`'s values as the
  // copy constructor does. Self-assignment changes nothing.
  XPtrList& operator=(const XPtrList& other);
  // Releases every node and the index; never touches the pointees.
  ~XPtrList();

  // Appends `value` at the end. The first value of an empty list goes into
  // its existing node.
  void AddTail(void* value);
  // The value at `i`, 0 <= i < Count(); Get(0) on an empty list is null.
  // Rebuilds the index first when it is not current.
  void* Get(int i);
  // Rebuilds the index from the chain.
  void BuildIndex();
  // Removes the value at `i` (0 <= i < Count()) and returns it; the index
  // stops being current. On an empty list RemoveAt(0) returns null and only
  // marks the index stale. Other out-of-range positions return null and
  // change nothing.
  void* RemoveAt(int i);
  // Releases every node and the index and starts again as a new list.
  void Clear();
  // Number of values.
  int Count();

  // The fields, in the order of the library's data model. Read them, do not
  // write them.
  int nodecount;  // nodes that exist: max(count, 1)
  int count;      // values in the list
  bool valid;     // true while `index` holds exactly the current values
  Node* first;    // never null
  Node* last;
  void** index;   // nodecount values, or null before the first build

 private:
  void Init();
  void ReleaseAll();
  void CopyValuesFrom(Node* source_first, int source_count);
};

#endif  // MORVANE_XPTRLIST_H_
