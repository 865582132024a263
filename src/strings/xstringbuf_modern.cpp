// XStringBuf for today's C++: moves and the const accessors.
#include <morvane/XStringBuf.h>

#include <utility>

XStringBuf::XStringBuf(XStringBuf&& other) noexcept
    : capacity(other.capacity), length(other.length), buffer(other.buffer) {
  other.buffer = nullptr;
  other.length = 0;
  other.Resize(1);
}

XStringBuf& XStringBuf::operator=(XStringBuf&& other) noexcept {
  std::swap(capacity, other.capacity);
  std::swap(length, other.length);
  std::swap(buffer, other.buffer);
  return *this;
}

const char* XStringBuf::GetPtr() const { return buffer; }

int XStringBuf::Length() const { return length; }

int XStringBuf::Capacity() const { return capacity; }
