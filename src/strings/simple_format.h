// A formatter for the plainest printf formats, which XStringBuf::Append tries
// before the C library's: most pieces that programs append are words and
// numbers ("%s=%d\n"), and rendering those directly skips the C library's
// general machinery (locale, flags, widths, floating point) that they never
// use. The output is the C library's to the byte.
#ifndef MORVANE_SRC_STRINGS_SIMPLE_FORMAT_H_
#define MORVANE_SRC_STRINGS_SIMPLE_FORMAT_H_

#include <cstdarg>
#include <cstring>

#include "common/integer_text.h"

namespace morvane::strings {

// SimpleFormat's answer for a format it leaves to the C library.
constexpr int kNotSimple = -2;

namespace simple_format_detail {

// The letters that may follow a '%'.
constexpr char kSimpleLetters[] = "diuxXcs%";

// Renders `format` with `args` into `dst` with the contract of
// platform::FormatBounded (at most `count` characters; their number, or -1
// when the whole text is longer than `count`), except that it writes no
// terminator, when every directive of the format is one of %d %i %u %x %X
// %c %s %% with no flag, width, precision or length modifier, and every %s
// argument is a string. Otherwise it returns kNotSimple, having consumed
// arguments and written characters that mean nothing.
inline int SimpleFormat(char* dst, int count, const char* format,
                        va_list args) {
  char* out = dst;
  char* const limit = dst + count;
  // Pieces are short: byte loops beat calls of memcpy here.
  // Copies the format's characters from `from` up to the next '%' or its
  // end, and returns where it stopped, or null when they do not fit.
  auto copy_run = [&out, limit](const char* from) -> const char* {
    for (; *from != '%' && *from != '\0'; ++from) {
      if (out == limit) return nullptr;
      *out++ = *from;
    }
    return from;
  };
  // Copies [from, end), or says that it does not fit.
  auto put = [&out, limit](const char* from, const char* end) {
    if (end - from > limit - out) return false;
    while (from != end) *out++ = *from++;
    return true;
  };
  const char* scan = format;
  bool fits = true;
  while (*scan != '\0') {
    if (*scan != '%') {
      const char* run_end = copy_run(scan);
      if (run_end == nullptr) {
        fits = false;
        break;
      }
      scan = run_end;
      continue;
    }
    char digits[common::kIntegerTextRoom];
    switch (scan[1]) {
      case 'd':
      case 'i':
        fits = put(digits, common::WriteDecimal(digits, va_arg(args, int)));
        break;
      case 'u':
        fits = put(digits,
                   common::WriteDecimal(digits, va_arg(args, unsigned int)));
        break;
      case 'x':
      case 'X': {
        const unsigned int value = va_arg(args, unsigned int);
        fits = put(digits, common::WriteHex(digits, value,
                                            scan[1] == 'x'
                                                ? common::HexDigits::kLower
                                                : common::HexDigits::kUpper));
        break;
      }
      case 'c': {
        const char value = static_cast<char>(va_arg(args, int));
        fits = put(&value, &value + 1);
        break;
      }
      case 's': {
        const char* value = va_arg(args, const char*);
        if (value == nullptr) return kNotSimple;
        fits = put(value, value + std::strlen(value));
        break;
      }
      case '%':
        fits = put(scan, scan + 1);
        break;
      default:
        return kNotSimple;
    }
    scan += 2;
    if (!fits) break;
  }
  if (fits) return static_cast<int>(out - dst);
  // The whole text is longer than `count`, unless the rest of the format
  // holds a directive that only the C library can judge.
  for (; *scan != '\0'; ++scan) {
    if (*scan != '%') continue;
    ++scan;
    if (*scan == '\0' || std::strchr(kSimpleLetters, *scan) == nullptr)
      return kNotSimple;
  }
  return -1;
}

}  // namespace simple_format_detail

using simple_format_detail::SimpleFormat;

}  // namespace morvane::strings

#endif  // MORVANE_SRC_STRINGS_SIMPLE_FORMAT_H_
