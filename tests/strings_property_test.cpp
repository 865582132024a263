// Find, ReverseFind, ReplaceAll, Trim and Tokenize against plain models on
// std::string, over random short texts from small alphabets, where partial
// matches, overlaps and runs of blanks or delimiters are common.
#include <gtest/gtest.h>
#include <morvane/XString.h>
#include <morvane/XVector.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

using std::string;

// --- Models, written from the stated rules -----------------------------------

// One pass that never backs up: after a failed partial match the scan goes
// on behind the failing character, which is not tried as a new start.
int ModelFind(const string& text, int start, const string& what) {
  const int m = int(what.size()), n = int(text.size());
  for (int i = std::max(start, 0), k = 0; m > 0 && i < n; ++i)
    if ((k = text[i] == what[k] ? k + 1 : 0) == m) return i - m + 1;
  return -1;
}

// The mirror image, matching from the pattern's last character. The
// terminator at `start` = length matches nothing.
int ModelReverseFind(const string& text, int start, const string& what) {
  const int m = int(what.size()), n = int(text.size());
  for (int i = std::min(start, n - 1), k = 0; m > 0 && i >= 0; --i)
    if ((k = text[i] == what[m - 1 - k] ? k + 1 : 0) == m) return i;
  return -1;
}

// Each search starts where the last replacement began, or behind it when
// `with` holds `what`.
string ModelReplaceAll(string s, int start, const string& what,
                       const string& with) {
  const int skip = with.find(what) == string::npos ? 0 : int(with.size());
  for (int i = ModelFind(s, start, what); i >= 0;
       i = ModelFind(s, i + skip, what))
    s.replace(size_t(i), what.size(), with);
  return s;
}

constexpr char kBlank[] = " \t\x7f\x80\xff";  // the blanks of the alphabet

string ModelTrim(const string& text) {
  const size_t first = text.find_first_not_of(kBlank);
  if (first == string::npos) return "";
  return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

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
      ASSERT_EQ(s.Find(i, what.c_str()), ModelFind(text, i, what));
      ASSERT_EQ(s.ReverseFind(i, what.c_str()),
                ModelReverseFind(text, i, what));
    }
    replaced.ReplaceAll(start, what.c_str(), with.c_str());
    ASSERT_EQ(Text(replaced), ModelReplaceAll(text, start, what, with));
    ASSERT_EQ(Text(trimmed.Trim()), ModelTrim(text));
    XVector<XString> tokens;
    s.Tokenize(&tokens, delimiters.c_str());
    string joined;
    for (int i = 0; i < tokens.Count(); ++i) joined += tokens[i] + "|";
    ASSERT_EQ(joined, ModelTokens(text, delimiters));
  }
}

}  // namespace
