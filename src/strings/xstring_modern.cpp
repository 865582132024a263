// XString for today's C++: the const overloads, copies and concatenations
// of const strings, moves, and the std::string_view conversions.
//
// Each const overload calls the member it mirrors, which changes nothing, so
// the two always give the same answer.
#include <string>
#include <string_view>
#include <utility>

#include <morvane/XString.h>

namespace {

// The string as the documented members take it.
XString& Mutable(const XString& s) { return const_cast<XString&>(s); }

}  // namespace

XString::XString(const XString& other) : XString(Mutable(other)) {}

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

XString& XString::operator=(XString&& other) noexcept {
  std::swap(text, other.text);
  std::swap(length, other.length);
  return *this;
}

XString& XString::operator+=(const XString& other) {
  return *this += Mutable(other);
}

XString XString::operator+(const char* s) const { return Mutable(*this) + s; }

XString XString::operator+(const XString& other) {
  return *this + Mutable(other);
}

XString XString::operator+(const XString& other) const {
  return Mutable(*this) + Mutable(other);
}

XString XString::operator+(char c) const { return Mutable(*this) + c; }

bool XString::operator==(const char* s) const { return Mutable(*this) == s; }

bool XString::CMP(const char* s) const { return Mutable(*this).CMP(s); }

bool XString::operator==(const XString& other) {
  return *this == Mutable(other);
}

bool XString::operator==(const XString& other) const {
  return Mutable(*this) == Mutable(other);
}

char XString::operator[](int i) const { return Mutable(*this)[i]; }

XString::operator const char*() const { return Mutable(*this).GetPtr(); }

XString::operator const void*() const { return Mutable(*this).GetPtr(); }

XString::operator std::string_view() const noexcept { return text; }

const char* XString::GetPtr() const { return Mutable(*this).GetPtr(); }

int XString::Length() const { return Mutable(*this).Length(); }

XString XString::Sub(int from, int to) const {
  return Mutable(*this).Sub(from, to);
}

int XString::Find(int start, const char* pattern) const {
  return Mutable(*this).Find(start, pattern);
}

int XString::ReverseFind(int start, const char* pattern) const {
  return Mutable(*this).ReverseFind(start, pattern);
}

const XString& XString::SplitPath(XString* drive, XString* dir, XString* fname,
                                  XString* ext) const {
  return Mutable(*this).SplitPath(drive, dir, fname, ext);
}

const XString& XString::Tokenize(XVector<XString>* tokens,
                                 const char* delimiters) const {
  return Mutable(*this).Tokenize(tokens, delimiters);
}
