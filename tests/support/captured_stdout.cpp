#include "support/captured_stdout.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {
std::FILE* g_file;  // the capture
int g_saved;        // the descriptor 1 of before
}  // namespace

void StartCapture() {
  std::fflush(stdout);
  if ((g_file = std::tmpfile()) == nullptr) std::abort();
  g_saved = dup(fileno(stdout));
  dup2(fileno(g_file), fileno(stdout));
}

std::string EndCapture() {
  std::fflush(stdout);
  dup2(g_saved, fileno(stdout));
  close(g_saved);
  std::string text;
  std::rewind(g_file);
  for (int c; (c = std::fgetc(g_file)) != EOF;)
    if (c != '\r') text += static_cast<char>(c);
  std::fclose(g_file);
  return text;
}
