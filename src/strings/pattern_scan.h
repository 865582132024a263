// The single-pass pattern scans behind XString::Find and ReverseFind.
//
// Both scans keep the library's non-backtracking rule: a match attempt runs
// from a start character until the pattern is complete or a character
// differs, and after a failure the scan goes on BEHIND the failing character
// (forwards) or BELOW it (backwards). No character inside a failed attempt, the
// failing one included, is tried as a new start, so "ab" is not found in
// "aab".
//
// What makes them fast without changing a result: the C library's byte
// search jumps to the next character that could start an attempt, and an
// attempt is compared eight characters at a time. The byte search restarts
// right behind the attempt, independent of where the attempt failed, so the
// processor can overlap it with the comparison; a start that the failed
// attempt passed over is then skipped.
#ifndef MORVANE_SRC_STRINGS_PATTERN_SCAN_H_
#define MORVANE_SRC_STRINGS_PATTERN_SCAN_H_

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/platform.h"

namespace morvane::strings {
namespace scan_detail {

using Word = std::uint64_t;
constexpr int kWordBytes = 8;

// The eight characters at `p`, the first in the lowest byte, whatever the
// machine's byte order (compilers turn this into one load where they can).
inline Word Load(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return Word{b[0]} | Word{b[1]} << 8 | Word{b[2]} << 16 | Word{b[3]} << 24 |
         Word{b[4]} << 32 | Word{b[5]} << 40 | Word{b[6]} << 48 |
         Word{b[7]} << 56;
}

// Bytes 0 to n - 1 set, for n from 0 to 8.
inline Word LowBytes(int n) {
  return n >= kWordBytes ? ~Word{0} : (Word{1} << (8 * n)) - 1;
}

// The index of the lowest (highest) nonzero byte of a nonzero word.
inline int LowestByte(Word w) {
#if defined(__GNUC__)
  return __builtin_ctzll(w) >> 3;
#else
  int i = 0;
  for (; (w & 0xFF) == 0; w >>= 8) ++i;
  return i;
#endif
}

inline int HighestByte(Word w) {
#if defined(__GNUC__)
  return (63 - __builtin_clzll(w)) >> 3;
#else
  int i = kWordBytes - 1;
  for (; (w >> 56) == 0; w <<= 8) --i;
  return i;
#endif
}

// Up to eight characters of the pattern as one word, for comparing an
// attempt at once: the first ones (forwards) or the last ones, ending in the
// top byte (backwards).
struct PatternWord {
  int size;   // characters held, min(m, 8)
  Word mask;  // their bytes
  Word word;  // the characters
};

inline PatternWord FirstChars(const char* pattern, int m) {
  const int size = m < kWordBytes ? m : kWordBytes;
  Word word = 0;
  for (int j = size - 1; j >= 0; --j) {
    word = word << 8 | static_cast<unsigned char>(pattern[j]);
  }
  return {size, LowBytes(size), word};
}

inline PatternWord LastChars(const char* pattern, int m) {
  const int size = m < kWordBytes ? m : kWordBytes;
  Word word = 0;
  for (int j = 0; j < size; ++j) {
    word |= Word{static_cast<unsigned char>(pattern[m - 1 - j])}
            << (8 * (kWordBytes - 1 - j));
  }
  return {size, ~LowBytes(kWordBytes - size), word};
}

// The forward scan over text[start, length) for a pattern of m > 0
// characters (start >= 0); -1 also when fewer than m characters remain. The
// buffer must hold length + 1 bytes. Returns where the match begins, or -1.
inline int ForwardScan(const char* text, int length, int start,
                       const char* pattern, int m) {
  if (m > length - start) return -1;
  const PatternWord head = FirstChars(pattern, m);
  const char* const last_start = text + length - m;
  // The last offset from which a whole word lies inside the buffer.
  const std::ptrdiff_t last_word = length + 1 - kWordBytes;
  const char* allowed = text + start;  // the first start not passed over
  const char* from = text + start;
  while (from <= last_start) {
    const char* begin = static_cast<const char*>(std::memchr(
        from, pattern[0], static_cast<size_t>(last_start - from) + 1));
    if (begin == nullptr) return -1;
    if (begin < allowed) {  // inside the last failed attempt
      from = allowed;
      continue;
    }
    // Pattern characters that match from `begin` on.
    const bool whole_word = begin - text <= last_word;
    int matched = 1;
    if (whole_word) {
      const Word diff = (Load(begin) ^ head.word) & head.mask;
      matched = diff != 0 ? LowestByte(diff) : head.size;
    }
    if (matched >= kWordBytes || !whole_word) {
      while (matched < m && begin[matched] == pattern[matched]) ++matched;
    }
    if (matched == m) return static_cast<int>(begin - text);
    allowed = begin + matched + 1;
    from = begin + 1;
  }
  return -1;
}

// The backward mirror over text[0, start] (m - 1 <= start <= length; the
// buffer holds at least start + 1 bytes): the pattern is matched from its
// last character, and after a failure the scan goes on below the failing
// character. Returns where the match begins, or -1.
inline int BackwardScan(const char* text, int start, const char* pattern,
                        int m) {
  const PatternWord tail = LastChars(pattern, m);
  const char last = pattern[m - 1];
  const char* const first_end = text + m - 1;
  const char* below = text + start + 1;  // ends from here up are passed over
  const char* from = text + start;
  for (;;) {
    const char* end = platform::FindLastByte(
        first_end, last, static_cast<size_t>(from - first_end) + 1);
    if (end == nullptr) return -1;
    if (end >= below) {  // inside the last failed attempt
      if (below <= first_end) return -1;
      from = below - 1;
      continue;
    }
    // Pattern characters that match down from `end`.
    const bool whole_word = end - text >= kWordBytes - 1;
    int matched = 1;
    if (whole_word) {
      const Word diff = (Load(end - (kWordBytes - 1)) ^ tail.word) & tail.mask;
      matched = diff != 0 ? kWordBytes - 1 - HighestByte(diff) : tail.size;
    }
    if (matched >= kWordBytes || !whole_word) {
      while (matched < m && end[-matched] == pattern[m - 1 - matched]) {
        ++matched;
      }
    }
    if (matched == m) return static_cast<int>(end - text) - (m - 1);
    // m >= 2 here, so end > text.
    below = end - matched;
    from = end - 1;
    if (from < first_end) return -1;
  }
}

}  // namespace scan_detail

using scan_detail::BackwardScan;
using scan_detail::ForwardScan;

}  // namespace morvane::strings

#endif  // MORVANE_SRC_STRINGS_PATTERN_SCAN_H_
