// morvane/XStringBuf.h: a growing text buffer for printf-style output.
//
// XStringBuf allocates a buffer once and appends formatted pieces into its
// spare room in place. When a piece does not fit, the buffer doubles and the
// whole piece is formatted again, as often as needed; nothing is ever cut.
// Empty() keeps the grown buffer for reuse.
//
// Ownership: the object owns its buffer. Copies (construction and
// assignment) copy the text into a buffer of their own. Thread-safety: none.
#ifndef MORVANE_XSTRINGBUF_H_
#define MORVANE_XSTRINGBUF_H_

#include <morvane/attributes.h>
#include <morvane/export.h>

class MORVANE_API XStringBuf {
 public:
  // An empty text in a buffer of `capacity` bytes (terminator included).
  // A capacity below 1 acts as 1.
  XStringBuf(int capacity = 2048);
  // A copy of `other`'s text in a buffer of the same capacity.
  XStringBuf(const XStringBuf& other);
  // Releases the buffer and clears the three fields (a null buffer, capacity
  // and length 0). A destroyed object may not be used.
  ~XStringBuf();

  // Appends `format` rendered with its arguments (the C library's printf
  // conversions), doubling the buffer until the piece fits; a piece that
  // fits makes no allocation. The format and the arguments may point into
  // this buffer's text (GetPtr() up to its terminator): they are read as the
  // text stood when Append was called, also across regrowths. Bytes beyond
  // the terminator are free room, which the piece overwrites.
  void Append(const char* format, ...) MORVANE_PRINTF_LIKE(2, 3);

  // Makes the text empty; the buffer and its capacity are kept.
  void Empty();

  // The buffer, writable. Writing into it does not change Length(); the next
  // Append writes from Length() on.
  operator char*();
  // The buffer, read-only.
  const char* GetPtr();

  // Replaces this text by a copy of `other`'s, in a buffer of this object's
  // own with `other`'s capacity.
  XStringBuf& operator=(const XStringBuf& other);

  // Characters of text, the terminator not counted.
  int Length();
  // Size of the buffer in bytes, the terminator's place included.
  int Capacity();

 private:
  // Regrows the buffer to `new_capacity` (> length), keeping the text.
  void Resize(int new_capacity);

  int capacity;
  int length;
  char* buffer;
};

#endif  // MORVANE_XSTRINGBUF_H_
