// What an XString holds, byte for byte, for the tests and the fuzzers.
#ifndef MORVANE_TESTS_SUPPORT_XSTRING_BYTES_H_
#define MORVANE_TESTS_SUPPORT_XSTRING_BYTES_H_

#include <morvane/XString.h>

#include <string>

namespace morvane::testing {

// The whole buffer as far as Length() says, and its terminator.
inline std::string Buffer(const XString& s) {
  return std::string(s.GetPtr(), static_cast<size_t>(s.Length()) + 1);
}

// Whether `s` holds exactly `text`, Length() included.
inline bool Holds(const XString& s, const std::string& text) {
  return s.Length() == static_cast<int>(text.size()) &&
         Buffer(s) == text + '\0';
}

}  // namespace morvane::testing

#endif  // MORVANE_TESTS_SUPPORT_XSTRING_BYTES_H_
