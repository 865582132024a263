// What XStringBuf reaches beyond its own code, as a seam (platform/seam.h):
// the C runtime's formatter, for the pieces that SimpleFormat leaves to it,
// and the heap for its buffers. A test stands in for them to reach
// capacities near INT_MAX without gigabytes of memory.
#ifndef MORVANE_SRC_STRINGS_XSTRINGBUF_CALLS_H_
#define MORVANE_SRC_STRINGS_XSTRINGBUF_CALLS_H_

#include <cstdarg>
#include <cstddef>

#include "platform/seam.h"

namespace morvane::strings {

struct StringBufCalls {
  // platform::FormatText's contract (vsnprintf's): writes at most `room` - 1
  // characters and a terminator, and returns the length of the whole text,
  // or a negative value when it cannot be rendered or is longer than
  // INT_MAX characters.
  int (*format)(char* dst, std::size_t room, const char* format, va_list args);
  // new char[size]'s contract: throws std::bad_alloc when the heap cannot
  // give the block.
  char* (*allocate)(std::size_t size);
  // delete[]'s contract, for a block from allocate.
  void (*release)(char* block);
};

namespace stringbuf_detail {
extern platform::Seam<StringBufCalls> calls;
}  // namespace stringbuf_detail

// The live table (the C runtime's formatter, new[] and delete[] unless a
// test replaced them).
inline StringBufCalls& StringBuf() { return stringbuf_detail::calls.Live(); }
// The default entries, for restoring.
inline const StringBufCalls& DefaultStringBuf() {
  return stringbuf_detail::calls.Defaults();
}

}  // namespace morvane::strings

#endif  // MORVANE_SRC_STRINGS_XSTRINGBUF_CALLS_H_
