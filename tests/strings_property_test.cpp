// Find, ReverseFind and ReplaceAll against the plain model of
// support/string_model.h, over a million random texts and patterns from a
// small alphabet, where partial matches, overlaps and occurrences hidden
// inside failed attempts are everywhere.
#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <string>

#include "support/string_model.h"

namespace {

using std::string;
namespace model = morvane::model;

// Mostly 'a' and 'b', now and then 'c' or the byte 0xff (a sign error's
// favourite).
string RandomBytes(std::mt19937& random, size_t size) {
  string bytes(size, ' ');
  for (char& c : bytes) c = "aaaaaaabbbbbbbc\xff"[random() % 16];
  return bytes;
}

// Texts of 0 to 100 characters, one in a thousand of 1000 to 3000 (replaced
// by themselves); patterns of 1 to 10, one in eight up to 40 (longer than
// the scans' blocks of 8 and 32 candidates), half of them cut from the text
// and a quarter of those with one byte changed; replacements of 0 to 3
// characters; starts from before the text to beyond its terminator, and the
// int limits. MORVANE_SCAN_CASES, when set, gives the number of cases (the
// valgrind and emulated runs take fewer).
TEST(StringsProperty, SearchesAndReplaceAllMatchTheModelOnAMillionCases) {
  const char* const variable = std::getenv("MORVANE_SCAN_CASES");
  const long cases = variable != nullptr ? std::atol(variable) : 1000000;
  std::mt19937 random(20261206u);
  for (long round = 0; round < cases; ++round) {
    const bool longer = random() % 1000 == 0;
    const string text =
        RandomBytes(random, longer ? 1000 + random() % 2000 : random() % 101);
    const size_t size = 1 + random() % (random() % 8 == 0 ? 40 : 10);
    string what = RandomBytes(random, size);
    if (random() % 2 == 0 && size <= text.size()) {
      what = text.substr(random() % (text.size() - size + 1), size);
      if (random() % 4 == 0) what[random() % size] = RandomBytes(random, 1)[0];
    }
    const string with = longer ? what : RandomBytes(random, random() % 4);
    const int edges[] = {INT_MIN, INT_MAX};
    const int start = random() % 16 == 0
                          ? edges[random() % 2]
                          : int(random() % (text.size() + 5)) - 2;
    XString s(text.c_str());
    string got = std::to_string(s.Find(start, what.c_str())) + "|";
    got += std::to_string(s.ReverseFind(start, what.c_str())) + "|";
    s.ReplaceAll(start, what.c_str(), with.c_str());
    string replaced = text;
    model::ReplaceAll(replaced, start, what, with);
    ASSERT_EQ(got + string(s.GetPtr(), s.Length()),
              std::to_string(model::Find(text, start, what)) + "|" +
                  std::to_string(model::ReverseFind(text, start, what)) + "|" +
                  replaced)
        << "case " << round << ", start " << start << ", text "
        << testing::PrintToString(text) << ", what "
        << testing::PrintToString(what) << ", with "
        << testing::PrintToString(with);
  }
}

}  // namespace
