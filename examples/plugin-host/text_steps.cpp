// The string steps: tokenizing a line and formatting a table.
#include <morvane/XStringBuf.h>

#include <cstdio>

#include "steps.h"

namespace demo {

void ShowTokens(const char* line, XVector<XString>* tokens) {
  XString text(line);
  text.Tokenize(tokens, " \t");
  std::printf("\"%s\" has %d tokens:", text.GetPtr(), tokens->Count());
  for (int i = 0; i < tokens->Count(); ++i)
    std::printf(" [%s]", (*tokens)[i].GetPtr());
  std::printf("\n(Tokenize splits at spaces and tabs; [ ] mark each token)\n");
}

void ShowTable(XVector<XString>* tokens) {
  constexpr int kInitialCapacity = 64;
  constexpr char kRule[] = "----------  ------------\n";
  XStringBuf table(kInitialCapacity);
  table.Append("%-10s  %12s\n", "asset", "size (kB)");
  table.Append("%s", kRule);
  double total = 0;
  int rows = 0;
  for (int i = 0; i + 1 < tokens->Count(); i += 2, ++rows) {
    // GetValue reads a decimal comma as a point ("3,5" is 3.5).
    double value = (*tokens)[i + 1].GetValue();
    total += value;
    table.Append("%-10s  %12.2f\n", (*tokens)[i].GetPtr(), value);
  }
  table.Append("%s", kRule);
  table.Append("%-10s  %12.2f\n", "total", total);
  std::printf("%s", table.GetPtr());
  std::printf(
      "(%d rows, %d characters, appended with XStringBuf::Append: the buffer "
      "grew from %d to %d)\n",
      rows, table.Length(), kInitialCapacity, table.Capacity());
  std::printf(
      "(GetValue read each size, the decimal comma of 3,5 as a point)\n");
}

}  // namespace demo
