/// @file
/// XVector, the growable array that XString::Tokenize fills.
///
/// Header-only; nothing of it is exported from the library. Thread-safety:
/// none; one vector is used by one thread at a time.
#ifndef MORVANE_XVECTOR_H_
#define MORVANE_XVECTOR_H_

#include <functional>

/// A growable array of `T`, stored by value.
///
/// Every slot of the one array holds a constructed element; the array grows
/// to 16 slots on the first Add and doubles after that. Growth copies the
/// elements (copy assignment into default-constructed slots), it never moves
/// them. T needs a default constructor, copy assignment from `const T&` and a
/// destructor. The elements in use, 0 to Count() - 1, form the range
/// [begin(), end()), so range-for and the standard algorithms apply; any Add
/// that grows the array invalidates pointers into it.
template <class T>
class XVector {
 public:
  /// An empty vector owns no array: Count() and Capacity() are 0.
  XVector() = default;

  /// Copies the other vector's elements into an array of the same capacity.
  XVector(const XVector& other) { CopyFrom(other); }

  /// Replaces the elements with copies of `other`'s, in an array of
  /// `other`'s capacity. Self-assignment changes nothing. Returns this
  /// vector.
  XVector& operator=(const XVector& other) {
    if (this != &other) {
      XVector copy(other);
      Swap(copy);
    }
    return *this;
  }

  /// Destroys every slot, last to first, then releases the array.
  ~XVector() { delete[] items; }

  /// Appends a copy of `item`. When the array is full it first grows to 16
  /// slots (from none) or to twice its capacity. `item` may be an element of
  /// this very vector: it is copied before the array is replaced.
  void Add(T& item) { Add(static_cast<const T&>(item)); }

  /// The same as Add(T&), for a const `item` or a temporary.
  void Add(const T& item) {
    if (count == capacity) {
      if (IsOwnElement(item)) {
        T copy;
        copy = item;
        Resize(capacity == 0 ? 16 : capacity * 2);
        items[count++] = copy;
        return;
      }
      Resize(capacity == 0 ? 16 : capacity * 2);
    }
    items[count++] = item;
  }

  /// Number of elements in use.
  int Count() const { return count; }

  /// Number of slots in the array (0 before the first Add).
  int Capacity() const { return capacity; }

  /// Element `i`, 0 <= i < Count(); not checked.
  T& operator[](int i) { return items[i]; }
  /// Element `i` of a const vector, 0 <= i < Count(); not checked.
  const T& operator[](int i) const { return items[i]; }

  /// The first element; equal to end() when the vector is empty (null when
  /// it has no array yet).
  T* begin() { return items; }
  /// The first element of a const vector, as begin().
  const T* begin() const { return items; }
  /// One past the last element in use (slot Count()), not past the spare
  /// slots.
  T* end() { return items + count; }
  /// One past the last element in use of a const vector, as end().
  const T* end() const { return items + count; }

  /// @name Fields
  /// The library's data layout; read them, do not write them.
  /// @{

  /// The array of Capacity() slots, or null before the first Add.
  T* items = nullptr;
  /// Number of elements in use; they occupy slots 0 to count - 1.
  int count = 0;
  /// Number of slots in the array.
  int capacity = 0;

  /// @}

 private:
  // Regrows the array to `new_capacity` (> count): a new array of
  // default-constructed slots, elements 0..count-1 copy-assigned into it,
  // then the old array destroyed.
  void Resize(int new_capacity) {
    T* old = items;
    capacity = new_capacity;
    items = new T[capacity];
    for (int i = 0; i < count; ++i) items[i] = old[i];
    delete[] old;
  }

  // Whether `item` is one of this vector's slots. std::less orders any two
  // pointers, also those into different arrays.
  bool IsOwnElement(const T& item) const {
    const std::less<const T*> before;
    return items != nullptr && !before(&item, items) &&
           before(&item, items + capacity);
  }

  void CopyFrom(const XVector& other) {
    if (other.capacity == 0) return;
    items = new T[other.capacity];
    capacity = other.capacity;
    for (int i = 0; i < other.count; ++i) items[i] = other.items[i];
    count = other.count;
  }

  void Swap(XVector& other) {
    T* i = items;
    items = other.items;
    other.items = i;
    int c = count;
    count = other.count;
    other.count = c;
    int k = capacity;
    capacity = other.capacity;
    other.capacity = k;
  }
};

#endif  // MORVANE_XVECTOR_H_
