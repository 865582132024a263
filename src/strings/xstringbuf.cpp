// XStringBuf: the buffer, its copies and moves, its regrowth and Append's
// attempts.
#include <morvane/XStringBuf.h>

#include <cstdarg>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/platform.h"
#include "strings/simple_format.h"

namespace {

// Every buffer holds one byte beyond its capacity, which no text ever uses.
// A piece is rendered one byte past the text's terminator and then moved
// down onto it: the text, which the format and the arguments may be part
// of, stays whole until the piece is complete, and the renderer's own
// terminator after a piece that fills the room exactly lands on this byte.
constexpr int kRenderOffset = 1;

char* NewBuffer(int capacity) {
  return new char[static_cast<size_t>(capacity) + kRenderOffset];
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
  delete[] buffer;
  buffer = nullptr;
  capacity = 0;
  length = 0;
}

// Each attempt formats the whole piece from its first argument, offering
// the free room less the byte held back for the terminator; -1 means it did
// not fit. Plain pieces are rendered by SimpleFormat, the rest by the C
// library; both give the same text.
//
// The format and the arguments may point into the text: the attempts write
// behind the text's terminator, and the buffer the call started with stays
// alive, unchanged, through every regrowth.
void XStringBuf::Append(const char* format, ...) {
  std::unique_ptr<char[]> first_buffer;
  bool simple = true;  // until SimpleFormat leaves the piece to the C library
  for (;;) {
    char* const room = buffer + length + kRenderOffset;
    const int count = capacity - length - 1;
    // Every attempt reads the arguments from the first: each one starts the
    // list afresh with va_start.
    va_list attempt;
    va_start(attempt, format);
    int written = morvane::strings::kNotSimple;
    if (simple) {
      written = morvane::strings::SimpleFormat(room, count, format, attempt);
      if (written == morvane::strings::kNotSimple) {
        simple = false;
        va_end(attempt);
        va_start(attempt, format);
      }
    }
    if (!simple) {
      written = morvane::platform::FormatBounded(room, count, format, attempt);
    }
    va_end(attempt);
    if (written != -1) {
      std::memmove(buffer + length, room, static_cast<size_t>(written));
      length += written;
      buffer[length] = '\0';
      return;
    }
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
  // Only a destroyed object has no buffer.
  if (buffer == nullptr) return;
  buffer[0] = '\0';
  length = 0;
}

XStringBuf::operator char*() { return buffer; }

const char* XStringBuf::GetPtr() const { return buffer; }

const char* XStringBuf::GetPtr() { return std::as_const(*this).GetPtr(); }

XStringBuf& XStringBuf::operator=(const XStringBuf& other) {
  if (this == &other) return *this;
  char* copy = NewBuffer(other.capacity);
  std::memcpy(copy, other.buffer, static_cast<size_t>(other.length));
  copy[other.length] = '\0';
  delete[] buffer;
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
    delete[] buffer;
  }
  capacity = new_capacity;
  buffer = grown;
  buffer[length] = '\0';
}
