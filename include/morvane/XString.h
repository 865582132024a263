// morvane/XString.h: a heap-backed byte string.
//
// An XString owns an exact-size buffer holding its characters and a
// terminating zero, and caches its character count. Every change installs a
// new buffer of exactly the needed size; the few operations that keep the
// buffer say so below. Characters are bytes; comparisons are byte by byte.
//
// Indices are zero-based; a range is given by its first and last index, both
// included. Arguments are not validated: C-string arguments must not be null
// and indices must lie in the ranges stated for each operation. A C-string
// argument may point into the string being changed: it is read completely
// before the old buffer is released.
//
// Thread-safety: none. One string is used by one thread at a time; distinct
// strings share nothing.
#ifndef MORVANE_XSTRING_H_
#define MORVANE_XSTRING_H_

#include <morvane/attributes.h>
#include <morvane/export.h>

template <class T>
class XVector;

class MORVANE_API XString {
 public:
  // --- Construction -------------------------------------------------------

  // The empty string: a one-byte buffer holding the zero; Length() 0.
  XString();
  // A copy of `s`.
  XString(const char* s);
  // The text of `a` followed by the text of `b`.
  XString(const char* a, const char* b);
  // A copy of `other`'s text; the length is measured from that text, so an
  // appended zero character counted in `other` is not carried over.
  XString(XString& other);
  ~XString();

  // --- Assignment ----------------------------------------------------------

  // Takes a copy of `s`. When `s` is this string's own buffer or holds the
  // same text, nothing changes and the buffer is kept.
  XString& operator=(const char* s);
  // Always installs a new buffer holding a copy of `other`'s text (also for
  // self-assignment); the length is measured.
  XString& operator=(const XString& other);

  // --- Concatenation -------------------------------------------------------

  // Appends `s`; the length grows by the length of `s`.
  XString& operator+=(const char* s);
  // Appends `other`'s text (measured, not `other`'s length); `s += s` doubles.
  XString& operator+=(XString& other);
  // Appends `c`; the length grows by one even when `c` is the zero character
  // (the text then reads as before, but Length() counts the zero).
  XString& operator+=(char c);

  // A new string: this text followed by `s`. This string is unchanged.
  XString operator+(const char* s);
  // A new string: this text followed by `other`'s text.
  XString operator+(XString& other);
  // A new string: this text followed by `c`, its length measured (so with the
  // zero character it is a plain copy of this text).
  XString operator+(char c);

  // --- Comparison ----------------------------------------------------------

  // True when the texts are equal byte for byte up to the terminating zero.
  // Length() is not compared.
  bool operator==(const char* s);
  // Same as operator==(const char*).
  bool CMP(const char* s);
  bool operator==(XString& other);

  // --- Access --------------------------------------------------------------

  // The byte at `i`, 0 <= i <= Length() (Length() gives the terminating zero).
  char operator[](int i);
  // The buffer; valid until the string installs a new buffer or dies.
  operator const char*();
  operator void*();
  const char* GetPtr();
  // The cached length; never re-measured.
  int Length();
  // Installs a new one-byte empty buffer (also when already empty).
  void Empty();

  // --- Search and editing --------------------------------------------------

  // A new string holding characters `from` to `to`
  // (0 <= from <= to + 1, to <= Length()); its length is measured, so a range
  // reaching Length() ends at the terminating zero. from == to + 1 gives "".
  // Out of range, from < 0 acts as 0, to > Length() as Length(), and any
  // range with from > to gives "".
  XString Sub(int from, int to);

  // Index where `pattern` begins, found by one forward pass from `start` that
  // never backs up: after a partial match fails, the failing character is not
  // tried as a new start (so "ab" is not found in "aab"). -1 when not found,
  // when `pattern` is empty or longer than the string, or when
  // start >= Length(). A negative `start` searches from 0.
  int Find(int start, const char* pattern);

  // The mirror of Find: one backward pass from `start`, matching the pattern
  // from its last character; returns where the occurrence begins, or -1.
  // start may be Length(); start < strlen(pattern) - 1, start < 0 and an empty
  // pattern give -1; a start beyond Length() searches from Length().
  int ReverseFind(int start, const char* pattern);

  // Removes characters `from` to `to` (0 <= from <= to + 1, to < Length()),
  // always installing a new buffer. Out of range, from < 0 acts as 0,
  // to >= Length() as Length() - 1, and a range with from > to removes
  // nothing.
  XString& Delete(int from, int to);

  // Inserts `s` before the character at `pos`; at or beyond the end it
  // appends, and pos < 0 inserts at the front. Always a new buffer.
  XString& Insert(int pos, const char* s);

  // Replaces the occurrence of `what` that Find(start, what) reports by
  // `with`. When there is none the string and its buffer are unchanged.
  XString& Replace(int start, const char* what, const char* with);

  // Repeats Replace, each new search starting where the previous replacement
  // began, so that shortening replacements work on their own output ("\\\\"
  // by "\\" collapses any run of backslashes). When `with` contains `what`,
  // the next search starts after the inserted copy instead, so the call
  // always ends.
  XString& ReplaceAll(int start, const char* what, const char* with);

  // --- Conversions ---------------------------------------------------------

  // Turns the first comma into a period, in this string, then returns the
  // text read by atof (0.0 when it does not begin with a number).
  double GetValue();

  // Replaces the text with the low byte of each 16-bit unit of `w` (up to its
  // zero unit). A unit whose low byte is zero ends the visible text.
  XString& GetFromUnicode(const unsigned short* w);

  // Removes blank bytes at both ends. Solid bytes are those below 128 that
  // isgraph accepts; everything else is blank. When both end bytes are
  // solid the buffer is kept.
  XString& Trim();

  // Splits the text as a path into drive ("C:"), directory (up to and
  // including the last '/' or '\'), file name and extension (from the last
  // period of the name), and assigns each part to the string that the
  // non-null pointer names. Parts are at most 2 (drive) and 255 characters.
  // A pointer may name this string itself. Returns this string.
  XString& SplitPath(XString* drive, XString* dir, XString* fname,
                     XString* ext);

  // --- Formatting ----------------------------------------------------------

  // Replaces the text with `format` rendered with exactly eight conversions:
  // %i %d %x %X (int), %s (const char*), %c (int, low byte), %g %f (double).
  // There are no flags, widths or precisions: after a '%' any other character
  // is copied as itself ("%%" gives "%", "%5d" gives "5d") and takes no
  // argument; a '%' at the end is dropped. At most 1024 format positions are
  // scanned. The result may be longer than 1024 characters (a long %s is
  // kept whole). A null %s prints "(null)". Each fetched argument is stored
  // in `lastArg`. The format and arguments may point into this string.
  // The compiler checks the arguments as for printf, so a quirk such as
  // "%5d" (no argument taken) draws a warning.
  XString& Format(const char* format, ...) MORVANE_PRINTF_LIKE(2, 3);

  // Splits the text with strtok's rules at any of the bytes in `delimiters`
  // and appends each (non-empty) token to `tokens`, after what it holds.
  // This string is not changed. Uses strtok, so a caller's own strtok
  // sequence loses its position.
  XString& Tokenize(XVector<XString>* tokens, const char* delimiters);

  // --- Fields (the library's data layout; read them, do not write them) --

  // The last argument that Format fetched: an int, the low 32 bits of a
  // pointer, a character in its lowest byte, or the bits of a float.
  unsigned int lastArg;
  // The buffer: the characters, then a zero. Never null.
  char* text;
  // The cached character count.
  int length;
};

#endif  // MORVANE_XSTRING_H_
