// A plain model of XString's search and editing on std::string, written
// step by step from the documented rules, with the header's clamping of
// indices outside the documented ranges. The property tests and the edit
// fuzzer hold the library to it.
#ifndef MORVANE_TESTS_SUPPORT_STRING_MODEL_H_
#define MORVANE_TESTS_SUPPORT_STRING_MODEL_H_

#include <algorithm>
#include <string>

namespace morvane::model {

inline int Size(const std::string& s) { return static_cast<int>(s.size()); }

// One forward pass that never backs up: after a partial match fails, the
// failing character is not tried as a new start. A negative start searches
// from 0.
inline int Find(const std::string& s, int start, const std::string& pattern) {
  const int n = Size(s);
  const int m = Size(pattern);
  start = std::max(start, 0);
  if (m == 0 || m > n || start >= n) return -1;
  int k = 0;
  for (int i = start; i < n; ++i) {
    if (s[i] != pattern[k]) {
      k = 0;
    } else if (++k == m) {
      return i - m + 1;
    }
  }
  return -1;
}

// The mirror image, matching the pattern from its last character. Position
// n is the terminating zero, which matches nothing; a start beyond it
// searches from it.
inline int ReverseFind(const std::string& s, int start,
                       const std::string& pattern) {
  const int n = Size(s);
  const int m = Size(pattern);
  start = std::min(start, n);
  if (m == 0 || start < 0 || start < m - 1) return -1;
  int k = m - 1;
  for (int i = start; i >= 0; --i) {
    const char c = i < n ? s[i] : '\0';
    if (c != pattern[k]) {
      k = m - 1;
    } else if (--k < 0) {
      return i;
    }
  }
  return -1;
}

// The occurrence that Find reports, replaced; nothing when there is none.
inline void Replace(std::string& s, int start, const std::string& what,
                    const std::string& with) {
  const int i = Find(s, start, what);
  if (i >= 0) s.replace(static_cast<size_t>(i), what.size(), with);
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

// Solid bytes are the printable ASCII ones other than the space.
inline bool Solid(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u > 32 && u < 127;
}

inline std::string Trim(const std::string& s) {
  const auto first = std::find_if(s.begin(), s.end(), Solid);
  if (first == s.end()) return "";
  const auto last = std::find_if(s.rbegin(), s.rend(), Solid).base();
  return std::string(first, last);
}

// Characters `from` to `to`, clamped as the header states; the terminating
// zero at Length() ends the result.
inline std::string Sub(const std::string& s, int from, int to) {
  from = std::max(from, 0);
  to = std::min(to, Size(s) - 1);
  return from > to ? "" : s.substr(from, to - from + 1);
}

inline void Delete(std::string& s, int from, int to) {
  from = std::max(from, 0);
  to = std::min(to, Size(s) - 1);
  if (from <= to) s.erase(from, to - from + 1);
}

inline void Insert(std::string& s, int pos, const std::string& what) {
  s.insert(std::clamp(pos, 0, Size(s)), what);
}

}  // namespace morvane::model

#endif  // MORVANE_TESTS_SUPPORT_STRING_MODEL_H_
