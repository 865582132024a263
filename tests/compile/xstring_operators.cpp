// Compiled (not run), as C++17 and C++20, by GCC and Clang with warnings as
// errors: every comparison and concatenation of an XString, const or not,
// with an XString, a C string, a std::string or a std::string_view, on either
// side, resolves to one operator (std::less, and so the standard containers
// and sort, use the same). The edit fuzz harness checks the answers.
#include <morvane/XString.h>

#include <string>
#include <type_traits>

template <class L, class R>
void Pair(L& l, R& r) {
  static_assert(std::is_same_v<decltype((l == r) + (l != r) + (l < r) +
                                        (l <= r) + (l > r) + (l >= r)),
                               int>);
  static_assert(std::is_same_v<decltype((r == l) + (r != l) + (r < l) +
                                        (r <= l) + (r > l) + (r >= l)),
                               int>);
  static_assert(std::is_same_v<decltype(l + r), XString>);
  static_assert(std::is_same_v<decltype(r + l), XString>);
}

template <class S>
void EveryPair(S& s, XString& x, const XString& c, const char* p, char* q,
               std::string& t, const std::string& u, std::string_view v) {
  Pair(s, x), Pair(s, c), Pair(s, p), Pair(s, q), Pair(s, t), Pair(s, u);
  Pair(s, v);
  static_assert(std::is_same_v<decltype(("x" == s) + (s < "x")), int>);
  static_assert(std::is_same_v<decltype(("x" + s) + 'x' + s), XString>);
  static_assert(std::is_same_v<decltype(('x' + s) + XString() + s), XString>);
  // Only a char is prepended as a character: an int added to the string
  // stays the pointer arithmetic of a C string.
  static_assert(std::is_same_v<decltype(1 + s), const char*>);
}

void UseEveryPair(XString& s, const XString& c, std::string& t,
                  const std::string& u) {
  EveryPair(s, s, c, "p", nullptr, t, u, "v");
  EveryPair(c, s, c, "p", nullptr, t, u, "v");
}
