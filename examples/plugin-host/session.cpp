// The demo session: every step in turn, then the loader is ended. It runs in
// the child process, so the library's leak report is written when that
// process exits.
#include <morvane/XDllLoader.h>

#include <cstdio>

#include "steps.h"

namespace demo {
namespace {

constexpr char kLine[] = "mesh 1200 texture 3,5 sound 42.25 script 7";

void Heading(const char* title) { std::printf("\n== %s ==\n", title); }

}  // namespace

int RunSession(const std::string& directory, const std::string& pattern) {
  int failures = 0;
  Heading("plug-ins");
  if (ShowPlugins(directory, pattern, kLine) == 0) {
    std::printf("no plug-in answered\n");
    ++failures;
  }

  Heading("tokens");
  XVector<XString> tokens;
  ShowTokens(kLine, &tokens);

  Heading("table");
  ShowTable(&tokens);

  Heading("linear system");
  ShowLinearSystem();

  Heading("segment and triangle");
  ShowIntersection();

  Heading("tracked allocation");
  if (!ShowTrackedAllocation()) {
    std::printf("the tracker's totals are not what the step expects\n");
    ++failures;
  }

  Heading("end");
  XDllLoader::GetLoader()->KillLoader();
  std::printf(
      "KillLoader released the plug-ins; the library writes its leak "
      "report when it unloads, as this process exits\n");
  // The report may go to standard error: let everything said so far come
  // first.
  std::fflush(stdout);
  return failures == 0 ? 0 : 1;
}

}  // namespace demo
