// XString::Format and FormatV.
//
// The text is assembled in a 1024-character scratch area on the stack and
// copied into one exact-size buffer at the end, so a call whose text fits
// makes a single heap allocation. Text that runs past the scratch area is
// kept whole: the area then moves to the heap and grows.
//
// Each conversion gives the text that sprintf gives for its two-character
// format: integers (common/integer_text.h) and strings are rendered without
// going through sprintf, which is much slower at it; %g and %f by the C
// runtime's own formatter (platform::RenderDouble), whose text differs
// between runtimes.
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <memory>

#include "common/integer_text.h"
#include "platform/platform.h"
#include "strings/xstring_internal.h"

namespace {

namespace common = morvane::common;
using morvane::strings::CopyText;
using morvane::strings::Install;

// At most kScanLimit format positions are scanned; a conversion whose '%'
// stands at the last of them is still completed.
using morvane::format_check::kScanLimit;
// Characters that fit the stack scratch area (its terminator comes extra).
constexpr size_t kScratchChars = 1024;

constexpr char kNullText[] = "(null)";

// The growing text of one Format call. Always has room for its terminator.
class Scratch {
 public:
  Scratch() = default;
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  void Put(char c) {
    Reserve(1);
    data_[fill_++] = c;
  }

  void Put(const char* from, size_t size) {
    Reserve(size);
    std::memcpy(data_ + fill_, from, size);
    fill_ += size;
  }

  void PutDecimal(int value) {
    char digits[common::kIntegerTextRoom];
    PutRun(digits, common::WriteDecimal(digits, value));
  }

  void PutHex(unsigned int value, common::HexDigits letters) {
    char digits[common::kIntegerTextRoom];
    PutRun(digits, common::WriteHex(digits, value, letters));
  }

  // Renders `value` as the C runtime's "%g" (`letter` 'g') or "%f" does,
  // straight into the free room; only a text that does not fit is rendered
  // again.
  void PutFloat(char letter, double value) {
    const size_t room = capacity_ - fill_;
    int size =
        morvane::platform::RenderDouble(data_ + fill_, room + 1, letter, value);
    if (size < 0) return;
    if (static_cast<size_t>(size) > room) {
      Reserve(static_cast<size_t>(size));
      size = morvane::platform::RenderDouble(
          data_ + fill_, static_cast<size_t>(size) + 1, letter, value);
    }
    fill_ += static_cast<size_t>(size);
  }

  // Terminates the text and returns it.
  const char* Finish() {
    data_[fill_] = '\0';
    return data_;
  }

 private:
  void PutRun(const char* first, const char* end) {
    Put(first, static_cast<size_t>(end - first));
  }

  // Makes room for `extra` more characters and the terminator.
  void Reserve(size_t extra) {
    if (fill_ + extra <= capacity_) return;
    size_t capacity = capacity_ * 2;
    if (capacity < fill_ + extra) capacity = fill_ + extra;
    auto grown = std::make_unique<char[]>(capacity + 1);
    std::memcpy(grown.get(), data_, fill_);
    heap_ = std::move(grown);
    data_ = heap_.get();
    capacity_ = capacity;
  }

  char stack_[kScratchChars + 1];
  std::unique_ptr<char[]> heap_;
  char* data_ = stack_;
  size_t capacity_ = kScratchChars;
  size_t fill_ = 0;
};

// Ordinary characters from `scan` up to the next '%', the end of the format
// or the scan limit, whichever comes first.
size_t OrdinaryRunEnd(const char* format, size_t scan) {
  while (scan < kScanLimit && format[scan] != '%' && format[scan] != '\0') {
    ++scan;
  }
  return scan;
}

}  // namespace

XString& XString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
  return *this;
}

XString& XString::FormatV(const char* format, va_list args) {
  format = morvane::strings::OrEmpty(format);
  Scratch scratch;

  size_t scan = 0;
  while (scan < kScanLimit && format[scan] != '\0') {
    if (format[scan] != '%') {
      const size_t end = OrdinaryRunEnd(format, scan);
      scratch.Put(format + scan, end - scan);
      scan = end;
      continue;
    }
    const char letter = format[scan + 1];
    if (letter == '\0') break;  // a final '%' is dropped
    switch (letter) {
      case 'i':
      case 'd': {
        const int value = va_arg(args, int);
        lastArg = static_cast<unsigned int>(value);
        scratch.PutDecimal(value);
        break;
      }
      case 'x':
      case 'X': {
        const unsigned int value = va_arg(args, unsigned int);
        lastArg = value;
        scratch.PutHex(value, letter == 'x' ? common::HexDigits::kLower
                                            : common::HexDigits::kUpper);
        break;
      }
      case 's': {
        const char* value = va_arg(args, const char*);
        lastArg = static_cast<unsigned int>(reinterpret_cast<uintptr_t>(value));
        if (value == nullptr) value = kNullText;
        scratch.Put(value, std::strlen(value));
        break;
      }
      case 'c': {
        // Only the lowest byte is used; the other bytes of lastArg stay.
        const unsigned char value =
            static_cast<unsigned char>(va_arg(args, int));
        lastArg = (lastArg & ~0xFFu) | value;
        scratch.Put(static_cast<char>(value));
        break;
      }
      case 'g':
      case 'f': {
        const double value = va_arg(args, double);
        const float narrowed = static_cast<float>(value);
        static_assert(sizeof narrowed == sizeof lastArg);
        std::memcpy(&lastArg, &narrowed, sizeof lastArg);
        scratch.PutFloat(letter, value);
        break;
      }
      default:  // not a conversion: the letter is ordinary text
        scratch.Put(letter);
        break;
    }
    scan += 2;
  }

  // The length ends at the first zero: a %c of zero cuts the visible text.
  const char* assembled = scratch.Finish();
  const int size = morvane::strings::Measure(assembled);
  Install(*this, CopyText(assembled, size), size);
  return *this;
}
