/// @file
/// XStringBuf, a growing text buffer for printf-style output.
///
/// XStringBuf allocates a buffer once and appends formatted pieces into its
/// spare room in place. When a piece does not fit, the buffer doubles and the
/// whole piece is formatted again, as often as needed; nothing is ever cut.
/// Empty() keeps the grown buffer for reuse. A null format reads as the empty
/// string. Capacities are `int`s: growth stops at INT_MAX bytes, and a piece
/// too long for a buffer of that capacity appends nothing.
///
/// Ownership: the object owns its buffer. Copies (construction and
/// assignment) copy the text into a buffer of their own; moves hand the
/// buffer over. Thread-safety: none.
#ifndef MORVANE_XSTRINGBUF_H_
#define MORVANE_XSTRINGBUF_H_

#include <morvane/attributes.h>
#include <morvane/export.h>

/// A zero-terminated text buffer with spare room that doubles when a piece
/// does not fit.
///
/// While the object lives its buffer is never null and holds the text, then
/// the terminator, within Capacity() bytes. The destructor leaves the buffer
/// null, and Capacity() and Length() 0: on such a destroyed object Empty()
/// does nothing and GetPtr() returns null; nothing else may be called.
class MORVANE_API XStringBuf {
 public:
  /// An empty text in a buffer of `capacity` bytes (terminator included).
  /// A capacity below 1 acts as 1.
  XStringBuf(int capacity = 2048);
  /// A copy of `other`'s text in a buffer of the same capacity.
  XStringBuf(const XStringBuf& other);
  /// Takes over `other`'s buffer, text and capacity without copying.
  /// `other` is left empty in a new buffer of capacity 1; should that
  /// allocation fail, the program terminates.
  XStringBuf(XStringBuf&& other) noexcept;
  /// Releases the buffer and clears the three fields (a null buffer, capacity
  /// and length 0).
  ~XStringBuf();

  /// Appends `format` rendered with its arguments (the C library's printf
  /// conversions), doubling the buffer until the piece fits; a piece that
  /// fits makes no allocation. A null `format` reads as the empty string: it
  /// appends nothing. The format and the arguments may point into this
  /// buffer's text (GetPtr() up to its terminator): they are read as the
  /// text stood when Append was called, also across regrowths. Bytes beyond
  /// the terminator are free room, which the piece overwrites; the
  /// terminator is written again even when nothing is appended.
  ///
  /// Growth doubles the capacity, but never past INT_MAX: where doubling
  /// would pass it, the capacity becomes INT_MAX. A piece longer than
  /// INT_MAX - 1 - Length() characters, which even that capacity cannot
  /// hold, appends nothing and leaves text, length and capacity as they
  /// were, without any allocation; a piece whose width or precision written
  /// in the format already says so (such as "%2147483647d") is refused
  /// before it is formatted. A piece that the C library cannot render (a
  /// wide character without a multibyte form) appends nothing as well. A
  /// failed allocation of a capacity that can hold the piece is not handled
  /// (new throws std::bad_alloc).
  void Append(const char* format, ...) MORVANE_PRINTF_LIKE(2, 3);

  /// Makes the text empty; the buffer and its capacity are kept.
  void Empty();

  /// The buffer, writable. Writing into it does not change Length(); the next
  /// Append writes from Length() on.
  operator char*();
  /// The buffer, read-only; valid until the buffer grows or the object dies.
  const char* GetPtr();
  /// The same as GetPtr(), on a const object.
  const char* GetPtr() const;

  /// Replaces this text by a copy of `other`'s, in a buffer of this object's
  /// own with `other`'s capacity. Returns this object.
  XStringBuf& operator=(const XStringBuf& other);
  /// Exchanges the buffers, texts and capacities of the two objects, copying
  /// nothing: `other` is left holding this object's former text. Assigning
  /// an object to itself changes nothing. Returns this object.
  XStringBuf& operator=(XStringBuf&& other) noexcept;

  /// Characters of text, the terminator not counted.
  int Length();
  /// The same as Length(), on a const object.
  int Length() const;
  /// Size of the buffer in bytes, the terminator's place included.
  int Capacity();
  /// The same as Capacity(), on a const object.
  int Capacity() const;

 private:
  // Regrows the buffer to `new_capacity` (> length), keeping the text.
  void Resize(int new_capacity);

  int capacity;
  int length;
  char* buffer;
};

#endif  // MORVANE_XSTRINGBUF_H_
