// XStringBuf: a growing, zero-terminated text buffer that appends
// printf-style pieces in place and doubles when a piece does not fit.
#include <morvane/XStringBuf.h>

#include <cstdarg>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "strings/simple_format.h"

namespace {

// Stores through a volatile access: the destructor's final stores must
// survive optimisers that treat an object's fields as dead once its
// destructor ends (GetPtr() on a destroyed buffer returns null by contract).
template <class T>
void StoreKept(T& field, T value) {
  static_cast<volatile T&>(field) = value;
}

// Whether `p` points into the `capacity` bytes at `buffer`. std::less orders
// any two pointers, also those into different arrays.
bool PointsInto(const char* buffer, int capacity, const char* p) {
  const std::less<> before;
  return buffer != nullptr && !before(p, buffer) &&
         before(p, buffer + capacity);
}

}  // namespace

XStringBuf::XStringBuf(int capacity)
    : capacity(capacity < 1 ? 1 : capacity), length(0), buffer(nullptr) {
  Resize(this->capacity);
}

XStringBuf::XStringBuf(const XStringBuf& other)
    : capacity(other.capacity),
      length(other.length),
      buffer(new char[static_cast<size_t>(other.capacity)]) {
  std::memcpy(buffer, other.buffer, static_cast<size_t>(length));
  buffer[length] = '\0';
}

XStringBuf::~XStringBuf() {
  delete[] buffer;
  StoreKept<char*>(buffer, nullptr);
  StoreKept(capacity, 0);
  StoreKept(length, 0);
}

// Each attempt formats the whole piece from its first argument, into the free
// room less the byte held back for the terminator; -1 means it did not fit.
// Plain pieces are rendered by SimpleFormat, the rest by the C library; both
// give the same text.
//
// The format and the arguments may point into this buffer. The output would
// run over the format's terminator, so such a format is copied first; and the
// buffer the call started with outlives every regrowth, its terminator
// restored, so that each attempt reads the arguments' text intact.
void XStringBuf::Append(const char* format, ...) {
  std::string own_format;
  const char* piece = PointsInto(buffer, capacity, format)
                          ? own_format.assign(format).c_str()
                          : format;
  std::unique_ptr<char[]> first_buffer;
  bool simple = true;  // until SimpleFormat leaves the piece to the C library
  for (;;) {
    char* const room = buffer + length;
    const int count = capacity - length - 1;
    // Every attempt starts the argument list afresh (va_start rather than a
    // va_copy of a started list, which stalls on the copy).
    va_list attempt;
    va_start(attempt, format);
    int written = morvane::strings::kNotSimple;
    if (simple) {
      written = morvane::strings::SimpleFormat(room, count, piece, attempt);
      if (written == morvane::strings::kNotSimple) {
        simple = false;
        va_end(attempt);
        va_start(attempt, format);
      }
    }
    if (!simple) {
      written = morvane::platform::FormatBounded(room, count, piece, attempt);
    }
    va_end(attempt);
    if (written != -1) {
      length += written;
      buffer[length] = '\0';
      break;
    }
    buffer[length] = '\0';
    if (first_buffer == nullptr) {
      first_buffer.reset(buffer);
      buffer = nullptr;  // so that Resize keeps it
      Resize(capacity * 2);
      std::memcpy(buffer, first_buffer.get(), static_cast<size_t>(length));
    } else {
      Resize(capacity * 2);
    }
  }
}

void XStringBuf::Empty() {
  if (buffer == nullptr) return;
  buffer[0] = '\0';
  length = 0;
}

XStringBuf::operator char*() { return buffer; }

const char* XStringBuf::GetPtr() { return buffer; }

XStringBuf& XStringBuf::operator=(const XStringBuf& other) {
  if (this == &other) return *this;
  char* copy = new char[static_cast<size_t>(other.capacity)];
  std::memcpy(copy, other.buffer, static_cast<size_t>(other.length));
  copy[other.length] = '\0';
  delete[] buffer;
  buffer = copy;
  capacity = other.capacity;
  length = other.length;
  return *this;
}

int XStringBuf::Length() { return length; }

int XStringBuf::Capacity() { return capacity; }

// Only the characters in use move; whatever a failed attempt wrote past
// `length` is dropped.
void XStringBuf::Resize(int new_capacity) {
  char* grown = new char[static_cast<size_t>(new_capacity)];
  if (buffer != nullptr) {
    std::memcpy(grown, buffer, static_cast<size_t>(length));
    delete[] buffer;
  }
  capacity = new_capacity;
  buffer = grown;
  buffer[length] = '\0';
}
