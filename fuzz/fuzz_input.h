// Decoding of fuzz inputs, shared by the harnesses.
//
// Input reads its bytes front to back and never fails: past the end it yields
// zeros and empty texts, so every byte string is a valid input, and the
// checked-in seeds are easy to write by hand (make_seeds.py mirrors
// this encoding).
//
// FUZZ_CHECK stops the run with a message, which libFuzzer reports as a
// crash and saves the input for.
#ifndef MORVANE_FUZZ_FUZZ_INPUT_H_
#define MORVANE_FUZZ_FUZZ_INPUT_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace fuzz {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Done() const { return pos_ >= size_; }

  uint8_t Byte() { return Done() ? 0 : data_[pos_++]; }

  // Two bytes, little-endian.
  uint16_t Word() {
    const uint16_t low = Byte();
    return static_cast<uint16_t>(low | Byte() << 8);
  }

  // Four bytes, little-endian.
  uint32_t Bits32() {
    const uint32_t low = Word();
    return low | static_cast<uint32_t>(Word()) << 16;
  }

  uint64_t Bits64() {
    const uint64_t low = Bits32();
    return low | static_cast<uint64_t>(Bits32()) << 32;
  }

  // A value in [low, high], from a word taken modulo the range's size.
  int Index(int low, int high) {
    if (high <= low) return low;
    return low + static_cast<int>(Word() % (high - low + 1));
  }

  float Float() {
    const uint32_t bits = Bits32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }

  double Double() {
    const uint64_t bits = Bits64();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }

  // A text without zero bytes: a length byte (255: a word with the length
  // follows), then that many bytes, of which zeros are dropped.
  std::string Text() {
    size_t length = Byte();
    if (length == 255) length = Word();
    std::string text;
    for (size_t i = 0; i < length && !Done(); ++i) {
      const char c = static_cast<char>(Byte());
      if (c != '\0') text += c;
    }
    return text;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

[[noreturn]] inline void Fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: model mismatch: %s\n", file, line, what);
  std::abort();
}

}  // namespace fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : ::fuzz::Fail(__FILE__, __LINE__, #condition))

#endif  // MORVANE_FUZZ_FUZZ_INPUT_H_
