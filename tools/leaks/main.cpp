// morvane-leaks: a leak log written by the morvane tracker, summarised by
// call site. `morvane-leaks --help` tells how to use it.
#include <iostream>
#include <string>
#include <vector>

#include "leaks_tool.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return morvane::leaks::RunLeaksTool(args, std::cout, std::cerr);
}
