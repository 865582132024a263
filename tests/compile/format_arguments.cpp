// Compiled (not run) by the format_arguments tests (tests/CMakeLists.txt):
// each call below must be rejected. Without CASE, a call passes three
// conversions no argument: C++17 rejects it with the printf format warning
// made an error, C++20 by Format's own check. CASE n picks one mistake that
// only Format's own check (C++20) finds, or a wrong argument kind; CASE 8
// discards the answer of empty(), written as if it cleared the string.
#include <morvane/XString.h>

void Mistake(XString& s) {
#if !defined(CASE)
  s.Format("%d %d %d");
#elif CASE == 1  // a width: Format prints "5d|7" and loses the 8
  s.Format("%5d|%d", 7, 8);
#elif CASE == 2  // a length modifier
  s.Format("%ld", 7L);
#elif CASE == 3  // a '%' at the end
  s.Format("50%");
#elif CASE == 4  // an argument too many
  s.Format("%d", 7, 8);
#elif CASE == 5  // an integer wider than 32 bits
  s.Format("%d", 7LL);
#elif CASE == 6  // a string that is not a char pointer
  s.Format("%s", s);
#elif CASE == 7  // an integer for a floating-point conversion
  s.Format("%g", 7);
#elif CASE == 8
  s.empty();
#endif
}
