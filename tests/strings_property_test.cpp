// Find, ReverseFind, ReplaceAll, Trim and Tokenize against plain models on
// std::string, over random short texts from small alphabets, where partial
// matches, overlaps and runs of blanks or delimiters are common.
#include <gtest/gtest.h>
#include <morvane/XString.h>
#include <morvane/XVector.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "support/string_model.h"

namespace {

using std::string;

// --- Models: the edit model is shared with the fuzzer ----------------------

namespace model = morvane::model;

constexpr char kBlank[] = " \t\x7f\x80\xff";  // the blanks of the alphabet

// Each token followed by '|'.
string ModelTokens(const string& text, const string& delimiters) {
  string tokens;
  for (size_t i = text.find_first_not_of(delimiters), end; i != string::npos;
       i = text.find_first_not_of(delimiters, end))
    tokens +=
        text.substr(i, (end = text.find_first_of(delimiters, i)) - i) + "|";
  return tokens;
}

std::mt19937 engine(20240611u);

string Random(const string& alphabet, size_t max_length) {
  string text(engine() % (max_length + 1), ' ');
  for (char& c : text) c = alphabet[engine() % alphabet.size()];
  return text;
}

string Text(XString& s) { return string(s.GetPtr(), s.Length()); }

// --- Properties --------------------------------------------------------------

// Every third text is longer, so that the scans' word-at-a-time comparisons
// are reached. Starts run from before the text to beyond its terminator.
TEST(StringsProperty, SearchesAndEditsMatchTheModels) {
  // The blind spots of the models, as stated: an occurrence that begins
  // inside a failed partial match is not found (ab in aab; backwards in abb).
  XString aab("aab"), abb("abb");
  EXPECT_TRUE(aab.Find(0, "ab") == -1 && abb.ReverseFind(2, "ab") == -1);
  const string alphabets[] = {"aaab", "aab", string("ab,;") + kBlank};
  for (int round = 0; round < 60000; ++round) {
    const bool longer = round % 3 == 0;
    const string text = Random(alphabets[round % 3], longer ? 40 : 10);
    const string what = Random("ab", longer ? 12 : 3), with = Random("ab,", 3),
                 delimiters = Random(",; a", 2);
    const int start = round % 5 - 1;
    SCOPED_TRACE(text + " / " + what + " / " + with + " / " + delimiters);
    XString s(text.c_str()), replaced(s), trimmed(s);
    for (int i = -1; i <= s.Length() + 1; ++i) {
      ASSERT_EQ(s.Find(i, what.c_str()), model::Find(text, i, what));
      ASSERT_EQ(s.ReverseFind(i, what.c_str()),
                model::ReverseFind(text, i, what));
    }
    replaced.ReplaceAll(start, what.c_str(), with.c_str());
    string modelled = text;
    model::ReplaceAll(modelled, start, what, with);
    ASSERT_EQ(Text(replaced), modelled);
    ASSERT_EQ(Text(trimmed.Trim()), model::Trim(text));
    XVector<XString> tokens;
    s.Tokenize(&tokens, delimiters.c_str());
    string joined;
    for (int i = 0; i < tokens.Count(); ++i) joined += tokens[i] + "|";
    ASSERT_EQ(joined, ModelTokens(text, delimiters));
  }
}

// --- The scans, differentially ----------------------------------------------

// The number of cases, unless the environment variable names another (the
// valgrind stage runs fewer).
constexpr long kScanCases = 1000000;
constexpr char kScanCasesVariable[] = "MORVANE_SCAN_CASES";
constexpr unsigned kScanSeed = 20261206u;

// Mostly 'a' and 'b', so that partial matches and hidden occurrences are
// everywhere, now and then 'c' or the byte 0xff (a sign error's favourite).
char ScanByte(std::mt19937& random) {
  constexpr char kBytes[] = "aaaaaaabbbbbbbc\xff";
  return kBytes[random() % (sizeof kBytes - 1)];
}

string ScanBytes(std::mt19937& random, size_t size) {
  string bytes(size, ' ');
  for (char& c : bytes) c = ScanByte(random);
  return bytes;
}

// Every byte outside printable ASCII as \xNN.
string Shown(const string& s) {
  string shown;
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", u);
    shown += u >= 32 && u < 127 ? string(1, c) : string(escaped);
  }
  return shown;
}

// Texts of 0 to 100 characters, one in a thousand of 1000 to 3000; patterns of
// 1 to 10, one in eight up to 40 (longer than the scans' blocks of 8 and 32
// candidates), half of them cut from the text and some of those with one byte
// changed; starts from before the text to beyond its terminator, and the int
// limits.
TEST(StringsProperty, ScansMatchTheModelOnAMillionRandomCases) {
  const char* const variable = std::getenv(kScanCasesVariable);
  const long cases = variable != nullptr ? std::atol(variable) : kScanCases;
  std::mt19937 random(kScanSeed);
  for (long round = 0; round < cases; ++round) {
    const size_t text_size =
        random() % 1000 == 0 ? 1000 + random() % 2000 : random() % 101;
    const string text = ScanBytes(random, text_size);
    const size_t size = 1 + random() % (random() % 8 == 0 ? 40 : 10);
    string pattern;
    if (random() % 2 == 0 && size <= text.size()) {
      pattern = text.substr(random() % (text.size() - size + 1), size);
      if (random() % 4 == 0) pattern[random() % size] = ScanByte(random);
    } else {
      pattern = ScanBytes(random, size);
    }
    const int edges[] = {INT_MIN, INT_MAX};
    const int start = random() % 16 == 0
                          ? edges[random() % 2]
                          : int(random() % (text.size() + 5)) - 2;
    XString s(text.c_str());
    const int found = s.Find(start, pattern.c_str());
    const int found_back = s.ReverseFind(start, pattern.c_str());
    if (found != model::Find(text, start, pattern) ||
        found_back != model::ReverseFind(text, start, pattern)) {
      FAIL() << "case " << round << ": text \"" << Shown(text)
             << "\", pattern \"" << Shown(pattern) << "\", start " << start
             << ": Find " << found << ", model "
             << model::Find(text, start, pattern) << "; ReverseFind "
             << found_back << ", model "
             << model::ReverseFind(text, start, pattern);
    }
  }
}

}  // namespace
