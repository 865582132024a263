// The single-pass pattern scans behind XString::Find, ReverseFind and
// ReplaceAll.
//
// Both keep the library's non-backtracking rule: a match attempt runs from a
// start character until the pattern is complete or a character differs, and
// after a failure the scan goes on BEHIND the failing character (forwards) or
// BELOW it (backwards). No character inside a failed attempt, the failing one
// included, is tried as a new start, so "ab" is not found in "aab". Their
// results are exactly those of that character-by-character rule; how they
// get there fast is explained in pattern_scan.cpp.
#ifndef MORVANE_SRC_STRINGS_PATTERN_SCAN_H_
#define MORVANE_SRC_STRINGS_PATTERN_SCAN_H_

namespace morvane::strings {

// The forward scan over text[start, length) for the m > 0 nonzero characters
// of `pattern` (start >= 0). The buffer holds length + 1 bytes; nothing
// outside it is read. Returns where the match begins, or -1 (also when fewer
// than m characters remain).
int ForwardScan(const char* text, int length, int start, const char* pattern,
                int m);

// The backward scan over text[0, start] for the m > 0 nonzero characters of
// `pattern`, matched from the last one (m - 1 <= start; the buffer holds at
// least start + 1 bytes and nothing else is read). Returns where the match
// begins, or -1.
int BackwardScan(const char* text, int start, const char* pattern, int m);

}  // namespace morvane::strings

#endif  // MORVANE_SRC_STRINGS_PATTERN_SCAN_H_
