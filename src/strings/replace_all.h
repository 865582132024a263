// The one-pass text rewrite behind XString::ReplaceAll.
#ifndef MORVANE_SRC_STRINGS_REPLACE_ALL_H_
#define MORVANE_SRC_STRINGS_REPLACE_ALL_H_

#include <morvane/XString.h>

namespace morvane::strings {

// Gives `s` the text that repeating Replace leaves, each search starting
// where the previous replacement began (start >= 0; `what` not empty), or
// from behind the inserted copy when `with` contains `what`, in one new
// buffer of exact size. `what` and `with` may point into the string's text.
// The string and its buffer are left as they were when nothing is found or
// when the result would be longer than the largest int.
void ReplaceEvery(XString& s, int start, const char* what, const char* with);

}  // namespace morvane::strings

#endif  // MORVANE_SRC_STRINGS_REPLACE_ALL_H_
