// Integers as printf's %d, %u, %x and %X write them (no flag, width or
// precision), for the library's own renderers of such text: XString::Format,
// the plain pieces of XStringBuf::Append and the leak report. std::to_chars
// does the work, without the locale and format parsing of printf.
//
// It lives in src/common/ because both the strings and the tracker use it
// and neither depends on the other; it is no system service, so it has no
// place in the platform layer.
#ifndef MORVANE_SRC_COMMON_INTEGER_TEXT_H_
#define MORVANE_SRC_COMMON_INTEGER_TEXT_H_

#include <charconv>
#include <cstddef>
#include <type_traits>

namespace morvane::common {

// Room for the longest text written here: a 64-bit value in decimal, with a
// sign.
inline constexpr std::size_t kIntegerTextRoom = 21;

// The letters of hexadecimal digits: %x's or %X's.
enum class HexDigits { kLower, kUpper };

// Writes `value` in decimal, with a '-' before a negative value, from `out`,
// which has room for kIntegerTextRoom characters; returns the end of the text
// (no terminator is written).
template <typename Integer>
char* WriteDecimal(char* out, Integer value) {
  static_assert(std::is_integral_v<Integer> && sizeof(Integer) <= 8);
  return std::to_chars(out, out + kIntegerTextRoom, value).ptr;
}

// Writes `value` in hexadecimal, without prefix, like WriteDecimal. Signed
// values are refused: printf's %x reads its argument as unsigned.
template <typename Unsigned>
char* WriteHex(char* out, Unsigned value,
               HexDigits digits = HexDigits::kLower) {
  static_assert(std::is_unsigned_v<Unsigned> && sizeof(Unsigned) <= 8);
  constexpr int kBase = 16;
  char* const end =
      std::to_chars(out, out + kIntegerTextRoom, value, kBase).ptr;
  if (digits == HexDigits::kUpper) {
    constexpr char kCaseShift = 'a' - 'A';
    for (char* digit = out; digit != end; ++digit) {
      if (*digit >= 'a') *digit = static_cast<char>(*digit - kCaseShift);
    }
  }
  return end;
}

}  // namespace morvane::common

#endif  // MORVANE_SRC_COMMON_INTEGER_TEXT_H_
