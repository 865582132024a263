#include "support/captured_stdout.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

std::string CapturedStdout(const std::function<void()>& call) {
  std::fflush(stdout);
  std::FILE* capture = std::tmpfile();
  if (capture == nullptr) std::abort();
  const int saved = dup(fileno(stdout));
  dup2(fileno(capture), fileno(stdout));
  call();
  std::fflush(stdout);
  dup2(saved, fileno(stdout));
  close(saved);
  std::string text;
  std::rewind(capture);
  for (int c; (c = std::fgetc(capture)) != EOF;)
    if (c != '\r') text += static_cast<char>(c);
  std::fclose(capture);
  return text;
}
