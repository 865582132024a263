// A plug-in that counts words: XString::Tokenize into an XVector.
#include <morvane/XString.h>
#include <morvane/XVector.h>

#include "demo_plugin.h"

extern "C" MORVANE_DEMO_EXPORT void morvane_demo_answer(const char* input,
                                                        XStringBuf* answer) {
  XString text(input);
  XVector<XString> words;
  text.Tokenize(&words, " \t");
  int longest = 0;
  for (int i = 1; i < words.Count(); ++i)
    if (words[i].Length() > words[longest].Length()) longest = i;
  answer->Append("%d words", words.Count());
  if (words.Count() > 0)
    answer->Append(", the longest is '%s'", words[longest].GetPtr());
}

extern "C" MORVANE_DEMO_EXPORT const char* morvane_demo_about() {
  return "Tokenize splits the line at blanks into an XVector of words";
}
