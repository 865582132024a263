/// @file
/// XString, a heap-backed byte string, with its std::hash and stream output.
///
/// An XString owns an exact-size buffer holding its characters and a
/// terminating zero, and caches its character count. Every change installs a
/// new buffer of exactly the needed size; the few operations that keep the
/// buffer say so below. Characters are bytes; comparisons are byte by byte.
///
/// Indices are zero-based; a range is given by its first and last index, both
/// included. Indices are not validated: they must lie in the ranges stated
/// for each operation. A null C-string argument of a member (a text, a
/// pattern, a format, delimiters, 16-bit units) reads as the empty one, so
/// the member does what the empty argument makes it do; the values that a
/// format's \%s consumes are not such arguments (a null one prints "(null)").
/// A C-string argument may point into the string being changed: it is read
/// completely before the old buffer is released.
///
/// Every member that changes nothing can be called on a const string, with
/// the same result as on a non-const one. A string converts implicitly to
/// `std::string_view` (and so to the standard algorithms and hashes), and is
/// made from one explicitly, as `std::string` is. It compares (==, !=, <, <=,
/// >, >=) and concatenates (+) with another XString, a C string, a
/// `std::string` or a `std::string_view` on either side, by the texts, so it
/// serves as a key of `std::map` and `std::set`. It offers the read-only face
/// of a standard container (size(), empty(), data(), c_str(), begin(), end()),
/// so range-for and the standard algorithms walk its characters. In C++20
/// code, Format checks a constant format against its arguments by Format's
/// own rules at compile time.
///
/// Two lengths: the text, which comparisons, hashes, views and streams read,
/// ends at the first zero byte; Length(), size() and the iterators count the
/// characters of the buffer, a zero appended with operator+=(char) included.
///
/// Thread-safety: none. One string is used by one thread at a time; distinct
/// strings share nothing.
#ifndef MORVANE_XSTRING_H_
#define MORVANE_XSTRING_H_

#include <morvane/attributes.h>
#include <morvane/export.h>

#include <cstdarg>
#include <cstddef>
#include <iosfwd>
#include <string_view>
#include <type_traits>

/// 1 where XString::Format checks its arguments by its own rules at compile
/// time: in C++20 code (the library itself keeps the variadic member, which
/// its exported symbol is).
#if __cplusplus >= 202002L && !defined(MORVANE_BUILDING)
#define MORVANE_FORMAT_CHECKED 1
#else
#define MORVANE_FORMAT_CHECKED 0
#endif

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
  /// A copy of `s`; a null `s` gives the empty string.
  XString(const char* s);
  /// The text of `a` followed by the text of `b`; a null one adds nothing.
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
  /// same text, nothing changes and the buffer is kept. A null `s` reads as
  /// "" (so an empty string keeps its buffer).
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

  /// Appends `s`; the length grows by the length of `s`. A null `s` appends
  /// nothing (a new buffer is still installed).
  XString& operator+=(const char* s);
  /// Appends `other`'s text (measured, not `other`'s length); `s += s` doubles.
  XString& operator+=(XString& other);
  /// The same as operator+=(XString&), for a const `other`.
  XString& operator+=(const XString& other);
  /// Appends `c`; the length grows by one even when `c` is the zero character
  /// (the text then reads as before, but Length() counts the zero).
  XString& operator+=(char c);

  /// A new string: this text followed by `s` (a null `s` adds nothing). This
  /// string is unchanged.
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
  /// A new string: this text followed by `s` up to its first zero byte (a
  /// `std::string` converts to it). This string is unchanged.
  XString operator+(std::string_view s) const;

  /// A new string: `s` (null reads as "") followed by `right`'s text.
  friend XString operator+(const char* s, const XString& right) {
    return XString(s, right.GetPtr());
  }
  /// A new string: `s` up to its first zero byte followed by `right`'s text
  /// (a `std::string` converts to `s`).
  friend XString operator+(std::string_view s, const XString& right) {
    return XString(s) + right;
  }
  /// A new string: `c` followed by `right`'s text, as `XString() += c` and
  /// then `+= right` make it: so `` '\0' + s `` reads as `s` with Length()
  /// one more. Only a `char` (not an int) is taken, so `1 + s` stays what it is
  /// for a C string.
  template <class C, std::enable_if_t<std::is_same_v<C, char>, int> = 0>
  friend XString operator+(C c, const XString& right) {
    XString result;
    result += c;
    result += right;
    return result;
  }

  /// @}
  /// @name Comparison
  /// Texts are compared byte by byte up to the terminating zero; Length() is
  /// not compared. Every operator reads both sides that way: an XString, a C
  /// string (null reads as ""), a `std::string` or a `std::string_view`, each
  /// up to its first zero byte. The order is that of the bytes as unsigned
  /// values, shorter first where one text begins the other; so "B" < "a" and
  /// "z" < "\xE9". Every pair compares its texts, never addresses, also with
  /// the string on the right.
  /// @{

  /// True when the texts are equal byte for byte up to the terminating zero.
  /// Length() is not compared. A null `s` equals only the empty text.
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
  /// True when the texts are equal; `s` is read up to its first zero byte.
  bool operator==(std::string_view s) const;

  /// The negation of the matching operator==.
  bool operator!=(const char* s) const;
  /// The negation of the matching operator==.
  bool operator!=(const XString& other) const;
  /// The negation of the matching operator==.
  bool operator!=(std::string_view s) const;
  /// True when this text orders before `s`'s.
  bool operator<(const char* s) const;
  /// True when this text orders before `other`'s.
  bool operator<(const XString& other) const;
  /// True when this text orders before `s`'s.
  bool operator<(std::string_view s) const;
  /// True when this text orders before `s`'s or equals it.
  bool operator<=(const char* s) const;
  /// True when this text orders before `other`'s or equals it.
  bool operator<=(const XString& other) const;
  /// True when this text orders before `s`'s or equals it.
  bool operator<=(std::string_view s) const;
  /// True when this text orders after `s`'s.
  bool operator>(const char* s) const;
  /// True when this text orders after `other`'s.
  bool operator>(const XString& other) const;
  /// True when this text orders after `s`'s.
  bool operator>(std::string_view s) const;
  /// True when this text orders after `s`'s or equals it.
  bool operator>=(const char* s) const;
  /// True when this text orders after `other`'s or equals it.
  bool operator>=(const XString& other) const;
  /// True when this text orders after `s`'s or equals it.
  bool operator>=(std::string_view s) const;

  /// The comparisons with the string on the right: each answers as the
  /// member with the operands swapped.
  friend bool operator==(const char* s, const XString& right) {
    return right == s;
  }
  /// As operator==(const char*, const XString&).
  friend bool operator==(std::string_view s, const XString& right) {
    return right == s;
  }
  /// As operator==(const char*, const XString&).
  friend bool operator!=(const char* s, const XString& right) {
    return right != s;
  }
  /// As operator==(const char*, const XString&).
  friend bool operator!=(std::string_view s, const XString& right) {
    return right != s;
  }
  /// As operator==(const char*, const XString&).
  friend bool operator<(const char* s, const XString& right) {
    return right > s;
  }
  /// As operator==(const char*, const XString&).
  friend bool operator<(std::string_view s, const XString& right) {
    return right > s;
  }
  /// As operator==(const char*, const XString&).
  friend bool operator<=(const char* s, const XString& right) {
    return right >= s;
  }
  /// As operator==(const char*, const XString&).
  friend bool operator<=(std::string_view s, const XString& right) {
    return right >= s;
  }
  /// As operator==(const char*, const XString&).
  friend bool operator>(const char* s, const XString& right) {
    return right < s;
  }
  /// As operator==(const char*, const XString&).
  friend bool operator>(std::string_view s, const XString& right) {
    return right < s;
  }
  /// As operator==(const char*, const XString&).
  friend bool operator>=(const char* s, const XString& right) {
    return right <= s;
  }
  /// As operator==(const char*, const XString&).
  friend bool operator>=(std::string_view s, const XString& right) {
    return right <= s;
  }

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
  /// Clears the string: installs a new one-byte empty buffer (also when
  /// already empty). Not to be confused with empty(), which asks.
  void Empty();

  /// @}
  /// @name Standard container face
  /// Read-only and allocation-free, over the Length() counted characters of
  /// the buffer (as Sub and Find see them): a zero appended with
  /// operator+=(char) is one of them, while ==, the hash and the view read
  /// the text up to its first zero byte.
  /// @{

  /// The character type, for generic code.
  using value_type = char;
  /// The size type, for generic code.
  using size_type = std::size_t;
  /// The iterators are pointers into the buffer, read-only.
  using const_iterator = const char*;
  /// The iterators are read-only: the same as const_iterator.
  using iterator = const char*;

  /// Length(), as a size.
  std::size_t size() const noexcept;
  /// Whether Length() is 0: a question, unlike Empty(), which clears.
  [[nodiscard]] bool empty() const noexcept;
  /// The buffer, as GetPtr(); zero-terminated.
  const char* data() const noexcept;
  /// The buffer, as GetPtr(); zero-terminated.
  const char* c_str() const noexcept;
  /// The first character (GetPtr()); valid as long as GetPtr().
  const char* begin() const noexcept;
  /// One past the last counted character: GetPtr() + Length().
  const char* end() const noexcept;
  /// The same as begin().
  const char* cbegin() const noexcept;
  /// The same as end().
  const char* cend() const noexcept;

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
  /// when `pattern` is empty (or null) or longer than the string, or when
  /// start >= Length(). A negative `start` searches from 0.
  int Find(int start, const char* pattern);
  /// The same as Find(int, const char*), on a const string.
  int Find(int start, const char* pattern) const;

  /// The mirror of Find: one backward pass from `start`, matching the pattern
  /// from its last character; returns where the occurrence begins, or -1.
  /// start may be Length(); start < strlen(pattern) - 1, start < 0 and an empty
  /// (or null) pattern give -1; a start beyond Length() searches from
  /// Length().
  int ReverseFind(int start, const char* pattern);
  /// The same as ReverseFind(int, const char*), on a const string.
  int ReverseFind(int start, const char* pattern) const;

  /// Removes characters `from` to `to` (0 <= from <= to + 1, to < Length()),
  /// always installing a new buffer. Out of range, from < 0 acts as 0,
  /// to >= Length() as Length() - 1, and a range with from > to removes
  /// nothing. Returns this string.
  XString& Delete(int from, int to);

  /// Inserts `s` before the character at `pos`; at or beyond the end it
  /// appends, and pos < 0 inserts at the front. A null `s` inserts nothing.
  /// Always a new buffer. Returns this string.
  XString& Insert(int pos, const char* s);

  /// Replaces the occurrence of `what` that Find(start, what) reports by
  /// `with`. When there is none the string and its buffer are unchanged. A
  /// null `what` is never found; a null `with` deletes the occurrence.
  /// Returns this string.
  XString& Replace(int start, const char* what, const char* with);

  /// Repeats Replace, each new search starting where the previous replacement
  /// began, so that shortening replacements work on their own output ("\\\\"
  /// by "\\" collapses any run of backslashes). When `with` contains `what`,
  /// the next search starts after the inserted copy instead, so the call
  /// always ends. The result goes into one new buffer. When `what` is empty,
  /// null or not found, or when the result would be longer than the largest
  /// int, the string and its buffer are unchanged; a null `with` deletes
  /// every occurrence found. Returns this string.
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
  /// zero unit). A unit whose low byte is zero ends the visible text. A null
  /// `w` gives the empty string. Returns this string.
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

  /// A format known only at run time, for Format: `s.Format(
  /// XString::RuntimeFormat(text), args...)` renders `text` unchecked, in
  /// C++17 and C++20 alike.
  struct RuntimeFormat {
    /// Wraps `format` (null reads as the empty format).
    constexpr explicit RuntimeFormat(const char* format) noexcept
        : text(format) {}
    /// The format, for the unchecked Format of C++17.
    constexpr operator const char*() const noexcept { return text; }
    /// The wrapped format.
    const char* text;
  };

#if MORVANE_FORMAT_CHECKED || defined(MORVANE_DOXYGEN)
  /// The format argument of the checked Format (C++20): see below.
  template <class... Args>
  class CheckedFormat;

  /// Format, with a format that the compiler has checked by Format's own
  /// rules (C++20). A string literal or other constant `format` is checked
  /// at compile time: each of its conversions takes one argument of its kind
  /// (\%i \%d \%x \%X \%c: an integer type of at most 32 bits; \%s: const char*
  /// or char*; \%g \%f: float or double), "%%" stays allowed, and there are as
  /// many arguments as conversions; anything else after a '\%' (a width, a
  /// flag, a precision, a length modifier such as \%ld), a '\%' at the end and
  /// a wrong count or kind stop the compilation with a message that says
  /// what Format would do instead. A format known only at run time is passed
  /// as RuntimeFormat(text), unchecked. Then as Format(const char*, ...).
  template <class... Args>
  XString& Format(CheckedFormat<std::type_identity_t<Args>...> format,
                  Args... args);
#endif
#if !MORVANE_FORMAT_CHECKED || defined(MORVANE_DOXYGEN)
  /// Replaces the text with `format` rendered with exactly eight conversions:
  /// \%i \%d \%x \%X (int), \%s (const char*), \%c (int, low byte), \%g
  /// \%f (double). There are no flags, widths or precisions: after a '\%' any
  /// other character is copied as itself ("%%" gives "%", "%5d" gives "5d")
  /// and takes no argument; a '\%' at the end is dropped. At most 1024 format
  /// positions are scanned. The result may be longer than 1024 characters (a
  /// long \%s is kept whole). A null \%s prints "(null)"; a null `format`
  /// gives the empty string. Each fetched argument is stored in `lastArg`.
  /// The format and arguments may point into this string. Returns this
  /// string.
  ///
  /// In C++17, GCC and Clang check the arguments by printf's grammar (the
  /// printf format attribute), not by Format's: they take "%5d" for a
  /// conversion with an argument, so `Format("%5d|%d", 7, 8)` compiles
  /// cleanly and gives "5d|7", while the right `Format("%5d|%d", 8)` draws a
  /// warning. C++20 code gets the member template above instead, which checks
  /// by Format's own rules.
  XString& Format(const char* format, ...) MORVANE_PRINTF_LIKE(2, 3);
#endif

  /// Format with the arguments as a `va_list`, for a variadic function of
  /// the caller's own; unchecked. `args` is consumed as by vprintf. A null
  /// `format` gives the empty string. Returns this string.
  XString& FormatV(const char* format, std::va_list args);

  /// Splits the text with strtok's rules at any of the bytes in `delimiters`
  /// and appends each (non-empty) token to `tokens`, after what it holds.
  /// Null `delimiters` make the whole text one token (none when it is
  /// empty); a null `tokens` receives nothing. This string is not changed. Uses
  /// strtok, so a caller's own strtok sequence loses its position. Returns this
  /// string.
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

/// Format's scan limit and the compile-time check of its arguments (C++20);
/// not for direct use.
namespace morvane::format_check {
/// Format scans at most this many positions of its format.
inline constexpr unsigned kScanLimit = 1024;
}  // namespace morvane::format_check

#if MORVANE_FORMAT_CHECKED
namespace morvane::format_check {

// What a conversion takes.
enum class Kind { kInteger, kText, kFloating, kOther };

// The kind of an argument of type T (after decay).
template <class T>
constexpr Kind KindOf() {
  if constexpr (std::is_integral_v<T> && sizeof(T) <= 4) {
    return Kind::kInteger;
  } else if constexpr (std::is_same_v<T, const char*> ||
                       std::is_same_v<T, char*>) {
    return Kind::kText;
  } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
    return Kind::kFloating;
  } else {
    return Kind::kOther;
  }
}

// Called only where the check fails. It is not constexpr, so the compile
// time evaluation stops at the call, and the compiler shows the call's line
// with its message. Never defined.
void FormatCheckFailed(const char* message);

// Walks `format` as Format does (at most kScanLimit positions) and fails on a
// '%' that is not followed by a conversion or another '%', and on
// conversions that do not match the arguments, by count or by kind.
template <class... Args>
consteval void Check(const char* format) {
  const Kind kinds[] = {KindOf<Args>()..., Kind::kOther};
  const unsigned count = sizeof...(Args);
  unsigned taken = 0;
  if (format == nullptr) format = "";
  for (unsigned pos = 0; pos < kScanLimit && format[pos] != '\0'; ++pos) {
    if (format[pos] != '%') continue;
    Kind wanted = Kind::kOther;
    // clang-format off
    switch (format[++pos]) {
      case '%': continue;
      case 'i': case 'd': case 'x': case 'X': case 'c':
        wanted = Kind::kInteger;
        break;
      case 's': wanted = Kind::kText; break;
      case 'g': case 'f': wanted = Kind::kFloating; break;
      case '\0': FormatCheckFailed("Format drops a '%' at the end of the format"); break;
      default: FormatCheckFailed("Format knows no flags, widths, precisions or length modifiers: after '%' only i d x X s c g f % are read, any other character is printed as itself and takes no argument (\"%5d\" prints \"5d\", \"%ld\" prints \"ld\")"); break;
    }
    if (taken == count) FormatCheckFailed("Format's conversions want more arguments than are given");
    if (kinds[taken] != wanted) {
      if (wanted == Kind::kInteger) FormatCheckFailed("Format's %i %d %x %X %c take an integer type of at most 32 bits");
      if (wanted == Kind::kText) FormatCheckFailed("Format's %s takes a const char* or char* (of an XString, pass GetPtr())");
      if (wanted == Kind::kFloating) FormatCheckFailed("Format's %g %f take a float or a double");
    }
    ++taken;
  }
  if (taken != count) FormatCheckFailed("Format is given more arguments than its conversions take");
  // clang-format on
}

// Hands the arguments to FormatV.
inline XString& Forward(XString& target, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  target.FormatV(format, args);
  va_end(args);
  return target;
}

}  // namespace morvane::format_check

/// A format for Format(CheckedFormat, Args...): checked at compile time
/// against the arguments' types, or a RuntimeFormat, unchecked.
template <class... Args>
class XString::CheckedFormat {
 public:
  /// Checks `format` (a constant) against Args.
  consteval CheckedFormat(const char* format) : text_(format) {
    morvane::format_check::Check<Args...>(format);
  }
  /// Takes a format known only at run time, unchecked.
  constexpr CheckedFormat(RuntimeFormat format) noexcept : text_(format.text) {}
  /// The format.
  constexpr const char* get() const noexcept { return text_; }

 private:
  const char* text_;
};

template <class... Args>
XString& XString::Format(CheckedFormat<std::type_identity_t<Args>...> format,
                         Args... args) {
  return morvane::format_check::Forward(*this, format.get(), args...);
}
#endif  // MORVANE_FORMAT_CHECKED

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
