// A plug-in that shouts: XString built one character at a time, then edited
// with ReplaceAll.
#include <morvane/XString.h>

#include "demo_plugin.h"

extern "C" MORVANE_DEMO_EXPORT void morvane_demo_answer(const char* input,
                                                        XStringBuf* answer) {
  constexpr char kLowerToUpper = 'a' - 'A';
  XString text(input);
  XString loud;
  for (int i = 0; i < text.Length(); ++i) {
    char c = text[i];
    loud += (c >= 'a' && c <= 'z') ? static_cast<char>(c - kLowerToUpper) : c;
  }
  loud.ReplaceAll(0, ",", "!").Trim();
  answer->Append("%s!", loud.GetPtr());
}

extern "C" MORVANE_DEMO_EXPORT const char* morvane_demo_about() {
  return "upper case; ReplaceAll turns each comma into '!'; Append adds a "
         "last '!'";
}
