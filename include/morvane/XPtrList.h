/// @file
/// XPtrList, an ordered list of untyped pointers.
///
/// Thread-safety: none; even Get may rebuild the index, so every access to one
/// list is serialised by its user.
#ifndef MORVANE_XPTRLIST_H_
#define MORVANE_XPTRLIST_H_

#include <morvane/export.h>

/// An ordered list of untyped pointers.
///
/// A doubly linked chain of nodes with an array of the values in chain order
/// (the index) that is rebuilt on demand, so reading by position costs one
/// array access while the index is current. An empty list still owns one node
/// whose value is null. The list never owns what its values point to.
class MORVANE_API XPtrList {
 public:
  /// One link of the chain.
  struct Node {
    /// The element, or null in the one node of an empty list.
    void* value;
    /// The following node; null at the last node.
    Node* next;
    /// The preceding node; null at the first node.
    Node* prev;
  };

  /// An empty list: one node with a null value, no index.
  XPtrList();
  /// A list of the same values (the pointees are shared), with a current index
  /// of its own. Reading `other`'s values builds `other`'s index if it is not
  /// current; an empty `other` has no value to read and is left as it is.
  XPtrList(XPtrList& other);
  /// Releases this list's nodes and index, then copies `other`'s values as the
  /// copy constructor does. Self-assignment changes nothing. Returns this
  /// list.
  XPtrList& operator=(const XPtrList& other);
  /// Releases every node and the index; never touches the pointees.
  ~XPtrList();

  /// Appends `value` at the end. The first value of an empty list goes into
  /// its existing node.
  void AddTail(void* value);
  /// The value at `i`, 0 <= i < Count(); null for any other `i` (Get(0) on
  /// an empty list included). Rebuilds the index first when it is not
  /// current, whatever `i` is.
  void* Get(int i);
  /// The same value as Get(int), changing nothing: reads the index when it is
  /// current and otherwise walks the chain from the first node (`i` steps)
  /// without rebuilding the index.
  void* Get(int i) const;
  /// Rebuilds the index from the chain.
  void BuildIndex();
  /// Removes the value at `i` (0 <= i < Count()) and returns it; the index
  /// stops being current. On an empty list RemoveAt(0) returns null and only
  /// marks the index stale. Other out-of-range positions return null and
  /// change nothing.
  void* RemoveAt(int i);
  /// Releases every node and the index and starts again as a new list.
  void Clear();
  /// Number of values.
  int Count();
  /// The same as Count(), on a const list.
  int Count() const;

  /// @name Fields
  /// The library's data layout, in order; read them, do not write them.
  /// @{

  /// Nodes that exist: the larger of `count` and 1.
  int nodecount;
  /// Values in the list.
  int count;
  /// True while `index` holds exactly the current values.
  bool valid;
  /// The first node; never null.
  Node* first;
  /// The last node; the same as `first` while the list holds at most one
  /// value.
  Node* last;
  /// `nodecount` values in chain order, or null before the first build.
  void** index;

  /// @}

 private:
  void Init();
  void ReleaseAll();
  void CopyValuesFrom(Node* source_first, int source_count);
};

#endif  // MORVANE_XPTRLIST_H_
