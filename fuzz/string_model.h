// A plain model of XString's searches and ReplaceAll on std::string,
// written step by step from the documented rules, with the header's
// clamping of starts outside the documented ranges and its reading of a null
// C-string argument; and the byte check of a string against its model. The
// string harnesses share it.
#ifndef MORVANE_FUZZ_STRING_MODEL_H_
#define MORVANE_FUZZ_STRING_MODEL_H_

#include <morvane/XString.h>

#include <algorithm>
#include <string>

namespace morvane::model {

// Whether `s` holds exactly `text` and its terminator, Length() included.
inline bool Holds(const XString& s, const std::string& text) {
  return s.Length() == static_cast<int>(text.size()) &&
         std::string(s.GetPtr(), text.size() + 1) == text + '\0';
}

inline int Size(const std::string& s) { return static_cast<int>(s.size()); }

// A C-string argument as the members read it: null reads as the empty text.
inline std::string Text(const char* s) { return s != nullptr ? s : ""; }

// One forward pass that never backs up: after a partial match fails, the
// failing character is not tried as a new start. A negative start searches
// from 0.
inline int Find(const std::string& s, int start, const std::string& pattern) {
  const int m = Size(pattern);
  if (m == 0 || m > Size(s) || start >= Size(s)) return -1;
  for (int i = std::max(start, 0), k = 0; i < Size(s); ++i) {
    k = s[i] == pattern[k] ? k + 1 : 0;
    if (k == m) return i - m + 1;
  }
  return -1;
}

// The mirror image, matching the pattern from its last character. Position
// Size(s) is the terminating zero, which matches nothing; a start beyond it
// searches from it.
inline int ReverseFind(const std::string& s, int start,
                       const std::string& pattern) {
  const int m = Size(pattern);
  if (m == 0 || start < m - 1) return -1;
  for (int i = std::min(start, Size(s)), k = m - 1; i >= 0; --i) {
    k = s[i] == pattern[k] ? k - 1 : m - 1;
    if (k < 0) return i;
  }
  return -1;
}

// Each search restarts where the last replacement began; when `with`
// contains `what`, it restarts after the inserted copy instead.
inline void ReplaceAll(std::string& s, int start, const std::string& what,
                       const std::string& with) {
  const bool skip_copy = with.find(what) != std::string::npos;
  for (int i = Find(s, start, what); i >= 0;) {
    s.replace(static_cast<size_t>(i), what.size(), with);
    i = Find(s, skip_copy ? i + Size(with) : i, what);
  }
}

}  // namespace morvane::model

#endif  // MORVANE_FUZZ_STRING_MODEL_H_
