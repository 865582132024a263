// XStringBuf against a std::string and the growth rule that XStringBuf.h
// states: a piece that does not fit into capacity - length - 1 characters
// doubles the capacity until it does. Copies and assignments must own their
// text, an argument that points into the buffer is read before the buffer is
// replaced, and a null format reads as the empty one.
#include <morvane/XStringBuf.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "fuzz_input.h"

namespace {

constexpr size_t kMaxLength = 1 << 16;

struct Model {
  std::string text;
  int capacity;

  void Append(const std::string& piece) {
    while (capacity - static_cast<int>(text.size()) - 1 <
           static_cast<int>(piece.size()))
      capacity *= 2;
    text += piece;
  }
};

bool Holds(XStringBuf& b, const Model& m) {
  return b.Length() == static_cast<int>(m.text.size()) &&
         b.Capacity() == m.capacity &&
         std::memcmp(b.GetPtr(), m.text.c_str(), m.text.size() + 1) == 0;
}

void Step(fuzz::Input& in, XStringBuf& b, Model& m) {
  switch (in.Byte() % 9) {
    case 0: {
      const std::string piece = in.Text();
      // An empty piece comes as a null format.
      const char* format = piece.empty() ? nullptr : "%s";
      b.Append(format, piece.c_str());
      m.Append(piece);
      break;
    }
    case 1: {
      const int value = static_cast<int>(in.Bits32());
      b.Append("%d", value);
      m.Append(std::to_string(value));
      break;
    }
    case 2: {  // several arguments, formatted again on every doubling
      const std::string a = in.Text();
      const char c = static_cast<char>(in.Byte() | 1);
      const std::string z = in.Text();
      b.Append("%s%c%s", a.c_str(), c, z.c_str());
      m.Append(a + c + z);
      break;
    }
    case 3:
      b.Empty();
      m.text.clear();
      break;
    case 4: {  // writing through the buffer leaves Length() alone
      if (m.text.empty()) break;
      const int i = in.Index(0, static_cast<int>(m.text.size()) - 1);
      const char c = static_cast<char>(in.Byte() | 1);
      static_cast<char*>(b)[i] = c;
      m.text[static_cast<size_t>(i)] = c;
      break;
    }
    case 5: {  // a copy, assigned back: each must own its buffer
      XStringBuf copy(b);
      FUZZ_CHECK(Holds(copy, m));
      copy.Append("%s", "x");
      b = copy;
      m.Append("x");
      break;
    }
    case 6: {  // an argument inside the buffer, which may regrow under it
      const int from = in.Index(0, static_cast<int>(m.text.size()));
      b.Append("%s", b.GetPtr() + from);
      m.Append(m.text.substr(static_cast<size_t>(from)));
      break;
    }
    case 7: {  // two arguments inside the text: read as it stood, fit or not
      const int size = static_cast<int>(m.text.size());
      const int first = in.Index(0, size);
      const int second = in.Index(0, size);
      const std::string before = m.text;
      if (in.Byte() % 2 == 0) {
        b.Append("%s%s", b.GetPtr() + first, b.GetPtr() + second);
      } else {  // through the C library
        b.Append("%s%.99999999s", b.GetPtr() + first, b.GetPtr() + second);
      }
      m.Append(before.substr(static_cast<size_t>(first)) +
               before.substr(static_cast<size_t>(second)));
      break;
    }
    default: {
      XStringBuf& same = b;
      b = same;
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  const int capacity = in.Byte() - 2;  // below 1 acts as 1
  XStringBuf b(capacity);
  Model m{"", std::max(capacity, 1)};
  FUZZ_CHECK(Holds(b, m));
  while (!in.Done()) {
    Step(in, b, m);
    FUZZ_CHECK(Holds(b, m));
    if (m.text.size() > kMaxLength) {
      b.Empty();
      m.text.clear();
    }
  }
  return 0;
}
