/// @file
/// XString, a heap-backed byte string, with its std::hash and stream output.
///
/// An XString owns an exact-size buffer holding its characters and a
/// terminating zero, and caches its character count. Every change installs a
/// new buffer of exactly the needed size; the few operations that keep the
/// buffer say so below. Characters are bytes; comparisons are byte by byte.
///
/// Indices are zero-based; a range is given by its first and last index, both
/// included. Arguments are not validated: C-string arguments must not be null
/// and indices must lie in the ranges stated for each operation. A C-string
/// argument may point into the string being changed: it is read completely
/// before the old buffer is released.
///
/// Every member that changes nothing has a const overload beside the
/// original one, with the same result; the originals stay as the library
/// has always declared them. A string converts implicitly to
/// `std::string_view` (and so to the standard algorithms and hashes), and is
/// made from one explicitly, as `std::string` is.
///
/// Thread-safety: none. One string is used by one thread at a time; distinct
/// strings share nothing.
#ifndef MORVANE_XSTRING_H_
#define MORVANE_XSTRING_H_

#include <morvane/attributes.h>
#include <morvane/export.h>

#include <cstddef>
#include <iosfwd>
#include <string_view>

template <class T>
class XVector;

/// A byte string that owns an exact-size, zero-terminated buffer.
///
/// The buffer is never null: every constructor allocates one, and an empty
/// string holds a one-byte buffer with the zero. Length() is the cached count
/// of characters; it equals the length of the text except after the zero
/// character has been appended with operator+=(char), which it counts.
class MORVANE_API XString {
 public:
  /// @name Construction
  /// @{

  /// The empty string: a one-byte buffer holding the zero; Length() 0.
  XString();
  /// A copy of `s`.
  XString(const char* s);
  /// The text of `a` followed by the text of `b`.
  XString(const char* a, const char* b);
  /// A copy of `other`'s text; the length is measured from that text, so an
  /// appended zero character counted in `other` is not carried over.
  XString(XString& other);
  /// The same as XString(XString&), for a const `other`.
  XString(const XString& other);
  /// Takes over `other`'s buffer and Length() (a counted zero stays counted)
  /// without copying the text. `other` is left a valid empty string in a new
  /// one-byte buffer; should that allocation fail, the program terminates.
  XString(XString&& other) noexcept;
  /// A copy of `text` up to its first zero byte, if it holds one (the string
  /// ends at its first zero). Explicit, as for std::string.
  explicit XString(std::string_view text);
  /// Releases the buffer.
  ~XString();

  /// @}
  /// @name Assignment
  /// Each returns this string.
  /// @{

  /// Takes a copy of `s`. When `s` is this string's own buffer or holds the
  /// same text, nothing changes and the buffer is kept.
  XString& operator=(const char* s);
  /// Always installs a new buffer holding a copy of `other`'s text (also for
  /// self-assignment); the length is measured.
  XString& operator=(const XString& other);
  /// Exchanges the buffers and lengths of the two strings, copying no text:
  /// this string gets `other`'s buffer, and `other` is left holding this
  /// string's former text. Assigning a string to itself changes nothing.
  XString& operator=(XString&& other) noexcept;

  /// @}
  /// @name Concatenation
  /// @{

  /// Appends `s`; the length grows by the length of `s`.
  XString& operator+=(const char* s);
  /// Appends `other`'s text (measured, not `other`'s length); `s += s` doubles.
  XString& operator+=(XString& other);
  /// The same as operator+=(XString&), for a const `other`.
  XString& operator+=(const XString& other);
  /// Appends `c`; the length grows by one even when `c` is the zero character
  /// (the text then reads as before, but Length() counts the zero).
  XString& operator+=(char c);

  /// A new string: this text followed by `s`. This string is unchanged.
  XString operator+(const char* s);
  /// The same as operator+(const char*), on a const string.
  XString operator+(const char* s) const;
  /// A new string: this text followed by `other`'s text.
  XString operator+(XString& other);
  /// The same as operator+(XString&), for a const `other`.
  XString operator+(const XString& other);
  /// The same as operator+(XString&), on a const string.
  XString operator+(const XString& other) const;
  /// A new string: this text followed by `c`, its length measured (so with
  /// the zero character it is a plain copy of this text).
  XString operator+(char c);
  /// The same as operator+(char), on a const string.
  XString operator+(char c) const;

  /// @}
  /// @name Comparison
  /// Texts are compared byte by byte up to the terminating zero; Length() is
  /// not compared. There are no ordering comparisons: compare the
  /// std::string_view conversions to order strings.
  /// @{

  /// True when the texts are equal byte for byte up to the terminating zero.
  /// Length() is not compared.
  bool operator==(const char* s);
  /// The same as operator==(const char*), on a const string.
  bool operator==(const char* s) const;
  /// Same as operator==(const char*).
  bool CMP(const char* s);
  /// The same as CMP(const char*), on a const string.
  bool CMP(const char* s) const;
  /// True when the two texts are equal byte for byte; the lengths are not
  /// compared.
  bool operator==(XString& other);
  /// The same as operator==(XString&), for a const `other`.
  bool operator==(const XString& other);
  /// The same as operator==(XString&), on a const string.
  bool operator==(const XString& other) const;

  /// @}
  /// @name Access
  /// @{

  /// The byte at `i`, 0 <= i <= Length() (Length() gives the terminating zero).
  char operator[](int i);
  /// The same as operator[](int), on a const string.
  char operator[](int i) const;
  /// The buffer; valid until the string installs a new buffer or dies.
  operator const char*();
  /// The same as operator const char*(), on a const string.
  operator const char*() const;
  /// The buffer, as an untyped pointer; valid as long as GetPtr()'s.
  operator void*();
  /// The buffer, read-only, on a const string.
  operator const void*() const;
  /// The text as a view: GetPtr() up to the first zero byte (so a zero
  /// counted in Length() is not part of it). Valid as long as GetPtr().
  operator std::string_view() const noexcept;
  /// The buffer, read-only; valid until the string installs a new buffer or
  /// dies.
  const char* GetPtr();
  /// The same as GetPtr(), on a const string.
  const char* GetPtr() const;
  /// The cached length; never re-measured.
  int Length();
  /// The same as Length(), on a const string.
  int Length() const;
  /// Installs a new one-byte empty buffer (also when already empty).
  void Empty();

  /// @}
  /// @name Search and editing
  /// @{

  /// A new string holding characters `from` to `to`
  /// (0 <= from <= to + 1, to <= Length()); its length is measured, so a range
  /// reaching Length() ends at the terminating zero. from == to + 1 gives "".
  /// Out of range, from < 0 acts as 0, to > Length() as Length(), and any
  /// range with from > to gives "". This string is unchanged.
  XString Sub(int from, int to);
  /// The same as Sub(int, int), on a const string.
  XString Sub(int from, int to) const;

  /// Index where `pattern` begins, found by one forward pass from `start` that
  /// never backs up: after a partial match fails, the failing character is not
  /// tried as a new start (so "ab" is not found in "aab"). -1 when not found,
  /// when `pattern` is empty or longer than the string, or when
  /// start >= Length(). A negative `start` searches from 0.
  int Find(int start, const char* pattern);
  /// The same as Find(int, const char*), on a const string.
  int Find(int start, const char* pattern) const;

  /// The mirror of Find: one backward pass from `start`, matching the pattern
  /// from its last character; returns where the occurrence begins, or -1.
  /// start may be Length(); start < strlen(pattern) - 1, start < 0 and an empty
  /// pattern give -1; a start beyond Length() searches from Length().
  int ReverseFind(int start, const char* pattern);
  /// The same as ReverseFind(int, const char*), on a const string.
  int ReverseFind(int start, const char* pattern) const;

  /// Removes characters `from` to `to` (0 <= from <= to + 1, to < Length()),
  /// always installing a new buffer. Out of range, from < 0 acts as 0,
  /// to >= Length() as Length() - 1, and a range with from > to removes
  /// nothing. Returns this string.
  XString& Delete(int from, int to);

  /// Inserts `s` before the character at `pos`; at or beyond the end it
  /// appends, and pos < 0 inserts at the front. Always a new buffer. Returns
  /// this string.
  XString& Insert(int pos, const char* s);

  /// Replaces the occurrence of `what` that Find(start, what) reports by
  /// `with`. When there is none the string and its buffer are unchanged.
  /// Returns this string.
  XString& Replace(int start, const char* what, const char* with);

  /// Repeats Replace, each new search starting where the previous replacement
  /// began, so that shortening replacements work on their own output ("\\\\"
  /// by "\\" collapses any run of backslashes). When `with` contains `what`,
  /// the next search starts after the inserted copy instead, so the call
  /// always ends. The result goes into one new buffer. When `what` is empty
  /// or not found, or when the result would be longer than the largest int,
  /// the string and its buffer are unchanged. Returns this string.
  XString& ReplaceAll(int start, const char* what, const char* with);

  /// @}
  /// @name Conversions
  /// @{

  /// Turns the first comma into a period, in this string, then returns the
  /// text read by atof (0.0 when it does not begin with a number). Reading
  /// stops at the first character that cannot continue the number, so
  /// "1,234.5" gives 1.234 (and the string then holds "1.234.5").
  double GetValue();

  /// Replaces the text with the low byte of each 16-bit unit of `w` (up to its
  /// zero unit). A unit whose low byte is zero ends the visible text. Returns
  /// this string.
  XString& GetFromUnicode(const unsigned short* w);

  /// Removes blank bytes at both ends. Solid bytes are those below 128 that
  /// isgraph accepts; everything else is blank, so a UTF-8 character beyond
  /// ASCII at either end goes too ("café" gives "caf"). Bytes between the
  /// first and the last solid byte stay. When both end bytes are solid the
  /// buffer is kept. Returns this string.
  XString& Trim();

  /// Splits the text as a path into drive ("C:"), directory (up to and
  /// including the last '/' or '\'), file name and extension (from the last
  /// period of the name), and assigns each part to the string that the
  /// non-null pointer names. Parts are at most 2 (drive) and 255 characters.
  /// A pointer may name this string itself. Returns this string.
  XString& SplitPath(XString* drive, XString* dir, XString* fname,
                     XString* ext);
  /// The same as SplitPath(XString*, XString*, XString*, XString*), on a
  /// const string; no pointer may name this string.
  const XString& SplitPath(XString* drive, XString* dir, XString* fname,
                           XString* ext) const;

  /// @}
  /// @name Formatting
  /// @{

  /// Replaces the text with `format` rendered with exactly eight conversions:
  /// %i %d %x %X (int), %s (const char*), %c (int, low byte), %g %f (double).
  /// There are no flags, widths or precisions: after a '%' any other character
  /// is copied as itself ("%%" gives "%", "%5d" gives "5d") and takes no
  /// argument; a '%' at the end is dropped. At most 1024 format positions are
  /// scanned. The result may be longer than 1024 characters (a long %s is
  /// kept whole). A null %s prints "(null)". Each fetched argument is stored
  /// in `lastArg`. The format and arguments may point into this string.
  /// The compiler checks the arguments as for printf, so a quirk such as
  /// "%5d" (no argument taken) draws a warning. Returns this string.
  XString& Format(const char* format, ...) MORVANE_PRINTF_LIKE(2, 3);

  /// Splits the text with strtok's rules at any of the bytes in `delimiters`
  /// and appends each (non-empty) token to `tokens`, after what it holds.
  /// This string is not changed. Uses strtok, so a caller's own strtok
  /// sequence loses its position. Returns this string.
  XString& Tokenize(XVector<XString>* tokens, const char* delimiters);
  /// The same as Tokenize(XVector<XString>*, const char*), on a const string.
  const XString& Tokenize(XVector<XString>* tokens,
                          const char* delimiters) const;

  /// @}
  /// @name Fields
  /// The library's data layout; read them, do not write them.
  /// @{

  /// The last argument that Format fetched: an int, the low 32 bits of a
  /// pointer, a character in its lowest byte, or the bits of a float. A new
  /// string holds 0: copies and moves do not carry it over, and only Format
  /// changes it.
  unsigned int lastArg;
  /// The buffer: the characters, then a zero. Never null.
  char* text;
  /// The cached character count.
  int length;

  /// @}
};

/// Writes the text (up to its first zero byte) to `out`, as a C string is
/// written: the stream's width and fill apply.
template <class Traits>
std::basic_ostream<char, Traits>& operator<<(
    std::basic_ostream<char, Traits>& out, const XString& s) {
  return out << s.GetPtr();
}

namespace std {

/// Hashes the text as std::hash<std::string_view> does, so that strings
/// that compare equal (whatever their Length()) hash alike.
template <>
struct hash<XString> {
  /// The hash of the text up to its first zero byte.
  size_t operator()(const XString& s) const noexcept {
    return hash<string_view>()(s);
  }
};

}  // namespace std

#endif  // MORVANE_XSTRING_H_
