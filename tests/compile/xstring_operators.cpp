// Compiled (not run), as C++17 and C++20, by GCC and Clang with warnings as
// errors (tests/CMakeLists.txt): every comparison and concatenation of an
// XString, const or not, with an XString, a C string, a std::string or a
// std::string_view, on either side, resolves to one operator, and the
// standard containers and algorithms take XString as it is. Their answers are
// checked in xstring_test.
#include <morvane/XString.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

template <class L, class R>
void Compares(L& l, R& r) {
  static_assert(std::is_same_v<decltype(l == r), bool>);
  static_assert(std::is_same_v<decltype(l != r), bool>);
  static_assert(std::is_same_v<decltype(l < r), bool>);
  static_assert(std::is_same_v<decltype(l <= r), bool>);
  static_assert(std::is_same_v<decltype(l > r), bool>);
  static_assert(std::is_same_v<decltype(l >= r), bool>);
  static_assert(std::is_same_v<decltype(r == l), bool>);
  static_assert(std::is_same_v<decltype(r != l), bool>);
  static_assert(std::is_same_v<decltype(r < l), bool>);
  static_assert(std::is_same_v<decltype(r <= l), bool>);
  static_assert(std::is_same_v<decltype(r > l), bool>);
  static_assert(std::is_same_v<decltype(r >= l), bool>);
  static_assert(std::is_same_v<decltype(l + r), XString>);
  static_assert(std::is_same_v<decltype(r + l), XString>);
}

template <class S>
void WithEveryOtherType(S& s) {
  XString x;
  const XString c;
  const char* p = "p";
  char* q = nullptr;
  std::string t;
  const std::string u;
  std::string_view v;
  Compares(s, x);
  Compares(s, c);
  Compares(s, p);
  Compares(s, q);
  Compares(s, t);
  Compares(s, u);
  Compares(s, v);
  static_assert(std::is_same_v<decltype(s == "x"), bool>);
  static_assert(std::is_same_v<decltype("x" != s), bool>);
  static_assert(std::is_same_v<decltype("x" < s), bool>);
  static_assert(std::is_same_v<decltype(s + "x"), XString>);
  static_assert(std::is_same_v<decltype("x" + s), XString>);
  static_assert(std::is_same_v<decltype(s + 'x'), XString>);
  static_assert(std::is_same_v<decltype('x' + s), XString>);
  static_assert(std::is_same_v<decltype(s == XString("x")), bool>);
  static_assert(std::is_same_v<decltype(XString("x") < s), bool>);
  static_assert(std::is_same_v<decltype(s + XString("x")), XString>);
  // Only a char is prepended as a character: an int added to the string
  // stays the pointer arithmetic of a C string.
  static_assert(std::is_same_v<decltype(1 + s), const char*>);
  static_assert(std::is_same_v<decltype(s.begin()), const char*>);
  static_assert(std::is_same_v<decltype(s.size()), std::size_t>);
}

}  // namespace

void UseEveryPair(XString& s, const XString& c) {
  WithEveryOtherType(s);
  WithEveryOtherType(c);
  std::map<XString, int> map{{XString("b"), 1}, {XString("a"), 2}};
  std::set<XString> set{XString("b"), XString("a")};
  std::vector<XString> sorted;
  std::sort(sorted.begin(), sorted.end());
  int n = 0;
  for (char ch : c) n += ch;
  n += static_cast<int>(std::count(s.begin(), s.end(), 'a'));
  n += map.begin()->second + static_cast<int>(set.size());
  s.Format("%d", n);
}
