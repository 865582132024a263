// XString construction, assignment, concatenation, comparison and access.
//
// Each member that changes nothing is written once, in its const form; the
// non-const overload that the exported interface also names forwards to it.
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "strings/xstring_internal.h"

using morvane::strings::CopyText;
using morvane::strings::Install;
using morvane::strings::Measure;
using morvane::strings::NewText;
using morvane::strings::OrEmpty;

// --- Construction and assignment -------------------------------------------

XString::XString() : lastArg(0), text(CopyText("", 0)), length(0) {}

XString::XString(const char* s)
    : lastArg(0), text(nullptr), length(Measure(OrEmpty(s))) {
  text = CopyText(OrEmpty(s), length);
}

XString::XString(const char* a, const char* b) : lastArg(0), text(nullptr) {
  a = OrEmpty(a);
  b = OrEmpty(b);
  const int a_length = Measure(a);
  const int b_length = Measure(b);
  length = a_length + b_length;
  text = NewText(length);
  std::memcpy(text, a, static_cast<size_t>(a_length));
  std::memcpy(text + a_length, b, static_cast<size_t>(b_length) + 1);
}

XString::XString(const XString& other)
    : XString(static_cast<const char*>(other.text)) {}

XString::XString(XString& other) : XString(std::as_const(other)) {}

XString::XString(XString&& other) noexcept
    : lastArg(0),
      text(std::exchange(other.text, nullptr)),
      length(std::exchange(other.length, 0)) {
  // `other` takes a new empty buffer; should that allocation fail, the
  // program ends (noexcept).
  XString empty;
  std::swap(other.text, empty.text);
}

// The text ends at the first zero byte, as the C string made here does.
XString::XString(std::string_view view) : XString(std::string(view).c_str()) {}

XString::~XString() { delete[] text; }

XString& XString::operator=(const char* s) {
  s = OrEmpty(s);
  if (s == text || std::strcmp(s, text) == 0) return *this;
  const int size = Measure(s);
  Install(*this, CopyText(s, size), size);
  return *this;
}

// The copy is made before the old buffer goes, so `s = s` is safe.
// NOLINTNEXTLINE(bugprone-unhandled-self-assignment)
XString& XString::operator=(const XString& other) {
  const int size = Measure(other.text);
  Install(*this, CopyText(other.text, size), size);
  return *this;
}

XString& XString::operator=(XString&& other) noexcept {
  std::swap(text, other.text);
  std::swap(length, other.length);
  return *this;
}

// --- Concatenation -----------------------------------------------------------

namespace {

// The concatenation rules: the new length is the old length field plus the
// appended count, and the new buffer starts with the old text up to its first
// zero. A string that counts appended zeros is shorter than its length field;
// the bytes the rules leave open are zero, so the buffer is always fully
// initialised.
char* StartAppend(XString& s, int new_length) {
  char* text = NewText(new_length);
  const int head = Measure(s.text);
  std::memcpy(text, s.text, static_cast<size_t>(head));
  std::memset(text + head, 0, static_cast<size_t>(new_length - head) + 1);
  return text;
}

// Appends `size` bytes of `tail` right after the old text.
void AppendText(XString& s, const char* tail, int size) {
  const int new_length = s.length + size;
  char* text = StartAppend(s, new_length);
  std::memcpy(text + Measure(s.text), tail, static_cast<size_t>(size));
  Install(s, text, new_length);
}

}  // namespace

XString& XString::operator+=(const char* s) {
  s = OrEmpty(s);
  AppendText(*this, s, Measure(s));
  return *this;
}

XString& XString::operator+=(const XString& other) {
  AppendText(*this, other.text, Measure(other.text));
  return *this;
}

XString& XString::operator+=(XString& other) {
  return *this += std::as_const(other);
}

// The character goes at index new length - 1, even when the old length field
// counts zeros beyond the visible text.
XString& XString::operator+=(char c) {
  const int new_length = length + 1;
  char* text_with_c = StartAppend(*this, new_length);
  text_with_c[new_length - 1] = c;
  Install(*this, text_with_c, new_length);
  return *this;
}

XString XString::operator+(const char* s) const { return XString(text, s); }

XString XString::operator+(const char* s) { return std::as_const(*this) + s; }

XString XString::operator+(const XString& other) const {
  return XString(text, other.text);
}

XString XString::operator+(const XString& other) {
  return std::as_const(*this) + other;
}

XString XString::operator+(XString& other) {
  return std::as_const(*this) + std::as_const(other);
}

XString XString::operator+(char c) const {
  const char tail[2] = {c, '\0'};
  return XString(text, tail);
}

XString XString::operator+(char c) { return std::as_const(*this) + c; }

XString XString::operator+(std::string_view s) const {
  return *this + XString(s);
}

// --- Comparison --------------------------------------------------------------

namespace {

// The texts that comparisons read: up to the first zero byte, null as "".
std::string_view Visible(const char* s) { return OrEmpty(s); }
std::string_view Visible(std::string_view s) {
  return s.substr(0, s.find('\0'));
}

// Negative, zero or positive as `s`'s text orders before, as or after
// `other`; char_traits<char> compares the bytes as unsigned values.
int Order(const XString& s, std::string_view other) {
  return Visible(s.GetPtr()).compare(other);
}

}  // namespace

bool XString::operator==(const char* s) const {
  return std::strcmp(text, OrEmpty(s)) == 0;
}

bool XString::operator==(const char* s) { return std::as_const(*this) == s; }

bool XString::CMP(const char* s) const { return *this == s; }

bool XString::CMP(const char* s) { return std::as_const(*this) == s; }

bool XString::operator==(const XString& other) const {
  return *this == other.text;
}

bool XString::operator==(const XString& other) {
  return std::as_const(*this) == other;
}

bool XString::operator==(XString& other) {
  return std::as_const(*this) == other;
}

bool XString::operator==(std::string_view s) const {
  return Order(*this, Visible(s)) == 0;
}

bool XString::operator!=(const char* s) const { return !(*this == s); }
bool XString::operator!=(const XString& other) const {
  return !(*this == other);
}
bool XString::operator!=(std::string_view s) const { return !(*this == s); }

bool XString::operator<(const char* s) const {
  return Order(*this, Visible(s)) < 0;
}
bool XString::operator<(const XString& other) const {
  return Order(*this, Visible(other.text)) < 0;
}
bool XString::operator<(std::string_view s) const {
  return Order(*this, Visible(s)) < 0;
}

bool XString::operator<=(const char* s) const {
  return Order(*this, Visible(s)) <= 0;
}
bool XString::operator<=(const XString& other) const {
  return Order(*this, Visible(other.text)) <= 0;
}
bool XString::operator<=(std::string_view s) const {
  return Order(*this, Visible(s)) <= 0;
}

bool XString::operator>(const char* s) const {
  return Order(*this, Visible(s)) > 0;
}
bool XString::operator>(const XString& other) const {
  return Order(*this, Visible(other.text)) > 0;
}
bool XString::operator>(std::string_view s) const {
  return Order(*this, Visible(s)) > 0;
}

bool XString::operator>=(const char* s) const {
  return Order(*this, Visible(s)) >= 0;
}
bool XString::operator>=(const XString& other) const {
  return Order(*this, Visible(other.text)) >= 0;
}
bool XString::operator>=(std::string_view s) const {
  return Order(*this, Visible(s)) >= 0;
}

// --- Access ------------------------------------------------------------------

char XString::operator[](int i) const { return text[i]; }

char XString::operator[](int i) { return std::as_const(*this)[i]; }

XString::operator const char*() const { return text; }

XString::operator const char*() {
  return static_cast<const char*>(std::as_const(*this));
}

XString::operator const void*() const { return text; }

XString::operator void*() { return text; }

XString::operator std::string_view() const noexcept { return text; }

const char* XString::GetPtr() const { return text; }

const char* XString::GetPtr() { return std::as_const(*this).GetPtr(); }

int XString::Length() const { return length; }

int XString::Length() { return std::as_const(*this).Length(); }

void XString::Empty() { Install(*this, CopyText("", 0), 0); }

// --- Standard container face -------------------------------------------------

std::size_t XString::size() const noexcept {
  return static_cast<std::size_t>(length);
}

bool XString::empty() const noexcept { return length == 0; }

const char* XString::data() const noexcept { return text; }

const char* XString::c_str() const noexcept { return text; }

const char* XString::begin() const noexcept { return text; }

const char* XString::end() const noexcept { return text + length; }

const char* XString::cbegin() const noexcept { return begin(); }

const char* XString::cend() const noexcept { return end(); }
