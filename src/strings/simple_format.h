// What XStringBuf::Append knows of printf formats before the C library sees
// them. SimpleFormat renders the plainest formats itself: most pieces that
// programs append are words and numbers ("%s=%d\n"), and rendering those
// directly skips the C library's general machinery (locale, flags, widths,
// floating point) that they never use; its output is the C library's to the
// byte. MinimumLength reads from a format alone how long its text is at
// least, so that a piece that no buffer can hold is refused before the C
// library spends seconds on its padding.
#ifndef MORVANE_SRC_STRINGS_SIMPLE_FORMAT_H_
#define MORVANE_SRC_STRINGS_SIMPLE_FORMAT_H_

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstring>

#include "common/integer_text.h"

namespace morvane::strings {

// SimpleFormat's answer for a format it leaves to the C library.
constexpr int kNotSimple = -2;

namespace simple_format_detail {

// Renders `format` with `args` into `dst` when every directive of the format
// is one of %d %i %u %x %X %c %s %% with no flag, width, precision or length
// modifier, and every %s argument is a string. It writes at most `count`
// (>= 0) characters and no terminator, and returns the length of the whole
// text, which exceeds `count` when the text did not fit (the characters
// written then mean nothing), or -1 when the whole text is longer than
// INT_MAX characters. Otherwise it returns kNotSimple, having consumed
// arguments and written characters that mean nothing.
inline int SimpleFormat(char* dst, int count, const char* format,
                        va_list args) {
  char* out = dst;
  // Once a part of the text does not fit, the limit drops to `out`: the rest
  // is only counted.
  char* limit = dst + count;
  unsigned long long missing = 0;  // characters counted, not written
  // Pieces are short: byte loops beat calls of memcpy here.
  // Copies the format's characters from `from` up to the next '%' or its
  // end, and returns where it stopped.
  auto copy_run = [&out, &limit, &missing](const char* from) {
    for (; *from != '%' && *from != '\0'; ++from) {
      if (out == limit) {
        ++missing;
      } else {
        *out++ = *from;
      }
    }
    return from;
  };
  // Copies [from, end) if it fits.
  auto put = [&out, &limit, &missing](const char* from, const char* end) {
    const auto size = static_cast<unsigned long long>(end - from);
    if (size > static_cast<unsigned long long>(limit - out)) {
      missing += size;
      limit = out;
      return;
    }
    while (from != end) *out++ = *from++;
  };
  const char* scan = format;
  while (*scan != '\0') {
    if (*scan != '%') {
      scan = copy_run(scan);
      continue;
    }
    char digits[common::kIntegerTextRoom];
    switch (scan[1]) {
      case 'd':
      case 'i':
        put(digits, common::WriteDecimal(digits, va_arg(args, int)));
        break;
      case 'u':
        put(digits, common::WriteDecimal(digits, va_arg(args, unsigned int)));
        break;
      case 'x':
      case 'X': {
        const unsigned int value = va_arg(args, unsigned int);
        put(digits,
            common::WriteHex(digits, value,
                             scan[1] == 'x' ? common::HexDigits::kLower
                                            : common::HexDigits::kUpper));
        break;
      }
      case 'c': {
        const char value = static_cast<char>(va_arg(args, int));
        put(&value, &value + 1);
        break;
      }
      case 's': {
        const char* value = va_arg(args, const char*);
        if (value == nullptr) return kNotSimple;
        put(value, value + std::strlen(value));
        break;
      }
      case '%':
        put(scan, scan + 1);
        break;
      default:
        return kNotSimple;
    }
    scan += 2;
  }
  const unsigned long long whole =
      static_cast<unsigned long long>(out - dst) + missing;
  return whole > INT_MAX ? -1 : static_cast<int>(whole);
}

// Reads the digits at `p` (none: 0) and moves `p` past them; values beyond
// INT_MAX read as INT_MAX + 1.
inline long long ReadNumber(const char*& p) {
  constexpr long long kBeyond = static_cast<long long>(INT_MAX) + 1;
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p)
    value = std::min(value * 10 + (*p - '0'), kBeyond);
  return value;
}

// Moves `p` past a width or precision taken from the arguments: '*',
// perhaps with a position ("*2$").
inline bool SkipStar(const char*& p) {
  if (*p != '*') return false;
  ++p;
  const char* digits = p;
  ReadNumber(p);
  if (*p != '$')
    p = digits;
  else
    ++p;
  return true;
}

// The characters that printf writes at least for `format`, whatever its
// arguments (C library and msvcrt alike): one per ordinary character; for a
// directive its width, or for the integer conversions its precision when
// that is larger (the digits are padded to it); one for "%%". A width or
// precision taken from the arguments ('*') counts nothing, and so does a
// directive of a conversion not named here. Values beyond INT_MAX read as
// INT_MAX + 1.
inline long long MinimumLength(const char* format) {
  constexpr long long kBeyond = static_cast<long long>(INT_MAX) + 1;
  constexpr char kFlags[] = "-+ #0'";
  constexpr char kLengthModifiers[] = "hlLqjztIw0123456789";
  constexpr char kIntegers[] = "diouxX";
  constexpr char kWidthOnly[] = "eEfFgGaAcCsSp";
  auto one_of = [](const char* set, char c) {
    return c != '\0' && std::strchr(set, c) != nullptr;
  };
  long long total = 0;
  const char* p = format;
  while (*p != '\0') {
    if (*p++ != '%') {
      total = std::min(total + 1, kBeyond);
      continue;
    }
    const char* position = p;  // "%2$d" names its argument
    ReadNumber(p);
    if (*p == '$')
      ++p;
    else
      p = position;
    while (one_of(kFlags, *p)) ++p;
    const long long width = SkipStar(p) ? 0 : ReadNumber(p);
    long long precision = 0;
    if (*p == '.') {
      ++p;
      if (!SkipStar(p)) precision = ReadNumber(p);
    }
    while (one_of(kLengthModifiers, *p)) ++p;
    const char conversion = *p;
    if (conversion == '\0') break;
    ++p;
    long long least = 0;
    if (conversion == '%') {
      least = 1;
    } else if (one_of(kIntegers, conversion)) {
      least = std::max(width, precision);
    } else if (one_of(kWidthOnly, conversion)) {
      least = width;
    }
    total = std::min(total + least, kBeyond);
  }
  return total;
}

}  // namespace simple_format_detail

using simple_format_detail::MinimumLength;
using simple_format_detail::SimpleFormat;

}  // namespace morvane::strings

#endif  // MORVANE_SRC_STRINGS_SIMPLE_FORMAT_H_
