#include "wildcard.h"

namespace demo {

bool MatchesWildcard(const char* pattern, const char* name) {
  // Greedy scan that backtracks only to the most recent '*': linear enough
  // for file names and free of recursion.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name != '\0') {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || *pattern == *name) {
      ++pattern;
      ++name;
    } else if (star != nullptr) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

}  // namespace demo
