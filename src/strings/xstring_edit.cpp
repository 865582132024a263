// XString search and editing: Sub, Find, ReverseFind, Delete, Insert,
// Replace, ReplaceAll.
//
// Every operation works on the buffer positions 0 to `length` - 1 and the
// terminating zero at `length`, never on the measured text: a string whose
// length counts appended zero characters is edited byte for byte over its
// whole buffer. Pattern characters are never zero, so such zeros match
// nothing.
#include <cstring>
#include <utility>

#include "strings/pattern_scan.h"
#include "strings/replace_all.h"
#include "strings/xstring_internal.h"

using morvane::strings::BackwardScan;
using morvane::strings::CopyText;
using morvane::strings::ForwardScan;
using morvane::strings::Install;
using morvane::strings::Measure;
using morvane::strings::NewText;
using morvane::strings::OrEmpty;
using morvane::strings::ReplaceEvery;

namespace {

// Replaces the `w` characters at `idx` (a match of the search text) by the
// `r` characters of `with`, which may point into the old buffer.
void ReplaceAt(XString& s, int idx, int w, const char* with, int r) {
  const int new_length = s.length - w + r;
  char* text = NewText(new_length);
  std::memcpy(text, s.text, static_cast<size_t>(idx));
  std::memcpy(text + idx, with, static_cast<size_t>(r));
  std::memcpy(text + idx + r, s.text + idx + w,
              static_cast<size_t>(s.length - idx - w) + 1);
  Install(s, text, new_length);
}

}  // namespace

XString XString::Sub(int from, int to) const {
  if (from < 0) from = 0;
  if (to > length) to = length;
  XString result;
  if (from > to) return result;
  // The result is measured: it ends at the first zero byte of the range.
  const void* zero =
      std::memchr(text + from, '\0', static_cast<size_t>(to - from) + 1);
  const int size =
      zero == nullptr
          ? to - from + 1
          : static_cast<int>(static_cast<const char*>(zero) - (text + from));
  Install(result, CopyText(text + from, size), size);
  return result;
}

XString XString::Sub(int from, int to) {
  return std::as_const(*this).Sub(from, to);
}

int XString::Find(int start, const char* pattern) const {
  pattern = OrEmpty(pattern);
  const int m = Measure(pattern);
  if (start < 0) start = 0;
  if (m == 0 || m > length || start >= length) return -1;
  return ForwardScan(text, length, start, pattern, m);
}

int XString::Find(int start, const char* pattern) {
  return std::as_const(*this).Find(start, pattern);
}

int XString::ReverseFind(int start, const char* pattern) const {
  pattern = OrEmpty(pattern);
  const int m = Measure(pattern);
  if (start > length) start = length;
  if (m == 0 || start < 0 || start < m - 1) return -1;
  return BackwardScan(text, start, pattern, m);
}

int XString::ReverseFind(int start, const char* pattern) {
  return std::as_const(*this).ReverseFind(start, pattern);
}

XString& XString::Delete(int from, int to) {
  if (from < 0) from = 0;
  if (from > length) from = length;
  if (to > length - 1) to = length - 1;
  if (to < from) to = from - 1;
  const int removed = to - from + 1;
  const int new_length = length - removed;
  char* new_text = NewText(new_length);
  std::memcpy(new_text, text, static_cast<size_t>(from));
  std::memcpy(new_text + from, text + to + 1,
              static_cast<size_t>(length - to - 1) + 1);
  Install(*this, new_text, new_length);
  return *this;
}

XString& XString::Insert(int pos, const char* s) {
  s = OrEmpty(s);
  const int size = Measure(s);
  if (pos < 0) pos = 0;
  if (pos > length) pos = length;
  const int new_length = length + size;
  char* new_text = NewText(new_length);
  std::memcpy(new_text, text, static_cast<size_t>(pos));
  std::memcpy(new_text + pos, s, static_cast<size_t>(size));
  std::memcpy(new_text + pos + size, text + pos,
              static_cast<size_t>(length - pos) + 1);
  Install(*this, new_text, new_length);
  return *this;
}

XString& XString::Replace(int start, const char* what, const char* with) {
  what = OrEmpty(what);
  with = OrEmpty(with);
  const int idx = Find(start, what);
  if (idx < 0) return *this;
  ReplaceAt(*this, idx, Measure(what), with, Measure(with));
  return *this;
}

XString& XString::ReplaceAll(int start, const char* what, const char* with) {
  what = OrEmpty(what);
  with = OrEmpty(with);
  if (*what != '\0') ReplaceEvery(*this, start < 0 ? 0 : start, what, with);
  return *this;
}
