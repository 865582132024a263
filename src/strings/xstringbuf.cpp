// XStringBuf: the buffer, its copies and moves, its regrowth and Append's
// attempts.
#include <morvane/XStringBuf.h>

#include <cstdarg>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

#include "platform/platform.h"
#include "strings/simple_format.h"
#include "strings/xstringbuf_calls.h"

namespace morvane::strings {
namespace {

char* NewChars(std::size_t size) { return new char[size]; }
void DeleteChars(char* block) { delete[] block; }

constexpr StringBufCalls kDefaultStringBuf = {platform::FormatText, NewChars,
                                              DeleteChars};

}  // namespace

// Constant-initialised (platform/seam.h).
platform::Seam<StringBufCalls> stringbuf_detail::calls(kDefaultStringBuf);

}  // namespace morvane::strings

namespace {

using morvane::strings::kNotSimple;
using morvane::strings::MinimumLength;
using morvane::strings::SimpleFormat;
using morvane::strings::StringBuf;

// Every buffer holds one byte beyond its capacity, which no text ever uses.
// A piece is rendered one byte past the text's terminator and then moved
// down onto it: the text, which the format and the arguments may be part
// of, stays whole until the piece is complete, and the renderer's own
// terminator after a piece that fills the room exactly lands on this byte.
constexpr int kRenderOffset = 1;

// The largest capacity: the largest value of the capacity's type.
constexpr int kMaxCapacity = std::numeric_limits<int>::max();

// The format that a null format reads as.
constexpr char kEmptyFormat[] = "";

char* NewBuffer(int capacity) {
  return StringBuf().allocate(static_cast<std::size_t>(capacity) +
                              kRenderOffset);
}

struct BufferReleaser {
  void operator()(char* buffer) const { StringBuf().release(buffer); }
};

// Twice `capacity`, or the largest capacity where twice would pass it.
int Doubled(int capacity) {
  return capacity <= kMaxCapacity / 2 ? capacity * 2 : kMaxCapacity;
}

}  // namespace

XStringBuf::XStringBuf(int capacity)
    : capacity(capacity < 1 ? 1 : capacity), length(0), buffer(nullptr) {
  Resize(this->capacity);
}

XStringBuf::XStringBuf(const XStringBuf& other)
    : capacity(other.capacity),
      length(other.length),
      buffer(NewBuffer(other.capacity)) {
  std::memcpy(buffer, other.buffer, static_cast<size_t>(length));
  buffer[length] = '\0';
}

XStringBuf::XStringBuf(XStringBuf&& other) noexcept
    : capacity(other.capacity), length(other.length), buffer(other.buffer) {
  other.buffer = nullptr;
  other.length = 0;
  other.Resize(1);
}

XStringBuf::~XStringBuf() {
  StringBuf().release(buffer);
  buffer = nullptr;
  capacity = 0;
  length = 0;
}

XStringBuf& XStringBuf::operator=(const XStringBuf& other) {
  if (this == &other) return *this;
  char* copy = NewBuffer(other.capacity);
  std::memcpy(copy, other.buffer, static_cast<size_t>(other.length));
  copy[other.length] = '\0';
  StringBuf().release(buffer);
  buffer = copy;
  capacity = other.capacity;
  length = other.length;
  return *this;
}

XStringBuf& XStringBuf::operator=(XStringBuf&& other) noexcept {
  std::swap(capacity, other.capacity);
  std::swap(length, other.length);
  std::swap(buffer, other.buffer);
  return *this;
}

// Each attempt formats the whole piece from its first argument into the
// free room less the byte held back for the terminator. Plain pieces are
// rendered by SimpleFormat, the rest by the C library; both give the same
// text, and both tell the whole piece's length when it does not fit. The
// buffer then doubles until that length fits (one Resize per doubling), and
// the next attempt writes the piece. A piece that no capacity up to
// kMaxCapacity could hold, or that the C library cannot render, appends
// nothing.
//
// The format and the arguments may point into the text: the attempts write
// behind the text's terminator, and the buffer the call started with stays
// alive, unchanged, through every regrowth.
void XStringBuf::Append(const char* format, ...) {
  if (format == nullptr) format = kEmptyFormat;
  std::unique_ptr<char[], BufferReleaser> first_buffer;
  bool simple = true;  // until SimpleFormat leaves the piece to the C library
  for (;;) {
    char* const room = buffer + length + kRenderOffset;
    const int count = capacity - length - 1;
    // The longest piece that a buffer of the largest capacity could take.
    const int most = kMaxCapacity - 1 - length;
    // Every attempt reads the arguments from the first: each one starts the
    // list afresh with va_start.
    va_list attempt;
    int whole = kNotSimple;
    if (simple) {
      va_start(attempt, format);
      whole = SimpleFormat(room, count, format, attempt);
      va_end(attempt);
      simple = whole != kNotSimple;
    }
    if (!simple) {
      if (MinimumLength(format) > most) {
        whole = -1;
      } else {
        va_start(attempt, format);
        whole = StringBuf().format(room, static_cast<std::size_t>(count) + 1,
                                   format, attempt);
        va_end(attempt);
      }
    }
    if (whole < 0 || whole > most) {
      buffer[length] = '\0';
      return;
    }
    if (whole <= count) {
      std::memmove(buffer + length, room, static_cast<size_t>(whole));
      length += whole;
      buffer[length] = '\0';
      return;
    }
    do {
      if (first_buffer == nullptr) {
        first_buffer.reset(buffer);
        buffer = nullptr;  // so that Resize keeps it
        Resize(Doubled(capacity));
        std::memcpy(buffer, first_buffer.get(), static_cast<size_t>(length));
      } else {
        Resize(Doubled(capacity));
      }
    } while (capacity - length - 1 < whole);
  }
}

void XStringBuf::Empty() {
  // Only a destroyed object has no buffer.
  if (buffer == nullptr) return;
  buffer[0] = '\0';
  length = 0;
}

XStringBuf::operator char*() { return buffer; }

const char* XStringBuf::GetPtr() const { return buffer; }

const char* XStringBuf::GetPtr() { return std::as_const(*this).GetPtr(); }

int XStringBuf::Length() const { return length; }

int XStringBuf::Length() { return std::as_const(*this).Length(); }

int XStringBuf::Capacity() const { return capacity; }

int XStringBuf::Capacity() { return std::as_const(*this).Capacity(); }

// Only the characters in use move; whatever a failed attempt wrote past
// `length` is dropped.
void XStringBuf::Resize(int new_capacity) {
  char* grown = NewBuffer(new_capacity);
  if (buffer != nullptr) {
    std::memcpy(grown, buffer, static_cast<size_t>(length));
    StringBuf().release(buffer);
  }
  capacity = new_capacity;
  buffer = grown;
  buffer[length] = '\0';
}
