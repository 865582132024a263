// Compiled (not run) as C++20 by the format_arguments tests: Format's own
// check accepts every documented form with the arguments it takes, a format
// known at run time through RuntimeFormat, and a null format.
#include <morvane/XString.h>

constexpr char kJoin[] = "%s\\%s";

void Accepted(XString& s, const char* runtime, char* name) {
  const float f = 0.5f;
  const unsigned short u = 7;
  s.Format("%i %d %x %X|%c %c|%s %s|%g %f|100%%", -1, true, 0xffu, u, 'c', 65,
           "text", name, f, 2.5);
  s.Format("plain text");
  s.Format(kJoin, "dir", name);
  s.Format(XString::RuntimeFormat(runtime), 1, "two", 3.0);
  s.Format(nullptr);
}
