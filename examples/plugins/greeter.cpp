// A plug-in that greets: XString::Format with text and numbers.
#include <morvane/XString.h>

#include "demo_plugin.h"

extern "C" MORVANE_DEMO_EXPORT void morvane_demo_answer(const char* input,
                                                        XStringBuf* answer) {
  XString text(input);
  XString greeting;
  greeting.Format("hello! your line has %d characters", text.Length());
  answer->Append("%s", greeting.GetPtr());
}

extern "C" MORVANE_DEMO_EXPORT const char* morvane_demo_about() {
  return "XString::Format puts the length of the line into a greeting";
}
