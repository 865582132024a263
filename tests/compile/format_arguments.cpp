// Compiled (not run) by the test format_arguments_are_checked: the compiler
// must reject this call, which passes three conversions no argument.
#include <morvane/XString.h>

void FormatWithoutArguments(XString& s) { s.Format("%d %d %d"); }
