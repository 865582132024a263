// morvane/XVector.h: the growable array that XString::Tokenize fills.
//
// XVector<T> stores its elements by value in one array whose every slot holds
// a constructed element; it grows to 16 slots on the first Add and doubles
// after that. Growth copies the elements (copy assignment into
// default-constructed slots), it never moves them. T needs a default
// constructor, copy assignment from `const T&` and a destructor.
//
// Header-only; nothing of it is exported from the library. Thread-safety:
// none; one vector is used by one thread at a time.
#ifndef MORVANE_XVECTOR_H_
#define MORVANE_XVECTOR_H_

#include <functional>

template <class T>
class XVector {
 public:
  // An empty vector owns no array: Count() and Capacity() are 0.
  XVector() = default;

  // Copies the other vector's elements into an array of the same capacity.
  XVector(const XVector& other) { CopyFrom(other); }

  XVector& operator=(const XVector& other) {
    if (this != &other) {
      XVector copy(other);
      Swap(copy);
    }
    return *this;
  }

  // Destroys every slot, last to first, then releases the array.
  ~XVector() { delete[] items; }

  // Appends a copy of `item`. When the array is full it first grows to 16
  // slots (from none) or to twice its capacity. `item` may be an element of
  // this very vector: it is copied before the array is replaced.
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

  // Number of elements in use.
  int Count() const { return count; }

  // Number of slots in the array (0 before the first Add).
  int Capacity() const { return capacity; }

  // Element `i`, 0 <= i < Count(); not checked.
  T& operator[](int i) { return items[i]; }
  const T& operator[](int i) const { return items[i]; }

  // The fields, in the order of the library's data model. Read them, do not
  // write them.
  T* items = nullptr;
  int count = 0;
  int capacity = 0;

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
