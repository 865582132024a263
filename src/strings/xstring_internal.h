// Buffer helpers shared by the XString source files. Every change of an
// XString builds its new text in a fresh exact-size buffer and only then
// releases the old one (Install), so arguments that point into the old text
// stay readable while the new text is built.
#ifndef MORVANE_SRC_STRINGS_XSTRING_INTERNAL_H_
#define MORVANE_SRC_STRINGS_XSTRING_INTERNAL_H_

#include <morvane/XString.h>

#include <cstring>

namespace morvane::strings {

// A buffer for `length` characters and the terminating zero.
inline char* NewText(int length) {
  return new char[static_cast<size_t>(length) + 1];
}

// Releases the string's buffer and makes `text` (length + 1 bytes, already
// terminated) its new one.
inline void Install(XString& s, char* text, int length) {
  delete[] s.text;
  s.text = text;
  s.length = length;
}

// A new buffer holding the `size` bytes at `from`, then a zero.
inline char* CopyText(const char* from, int size) {
  char* text = NewText(size);
  std::memcpy(text, from, static_cast<size_t>(size));
  text[size] = '\0';
  return text;
}

inline int Measure(const char* s) { return static_cast<int>(std::strlen(s)); }

// A C-string argument as the members read it: null reads as the empty text.
inline const char* OrEmpty(const char* s) { return s != nullptr ? s : ""; }

}  // namespace morvane::strings

#endif  // MORVANE_SRC_STRINGS_XSTRING_INTERNAL_H_
