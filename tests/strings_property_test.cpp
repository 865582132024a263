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

// --- Models, written from the stated rules -----------------------------------

// One pass that never backs up: after a failed partial match the scan goes
// on behind (backwards: below) the failing character. Backwards the pattern
// is matched from its last character, and `start` may be the terminator.
int ModelFind(const std::string& text, int start, const std::string& what,
              bool backwards = false) {
  const int n = static_cast<int>(text.size()),
            m = static_cast<int>(what.size());
  if (m == 0 || (backwards ? start < m - 1 : m > n || start >= n)) return -1;
  for (int i = backwards ? std::min(start, n) : std::max(start, 0), k = 0;
       backwards ? i >= 0 : i < n; i += backwards ? -1 : 1) {
    const char c = i < n ? text[i] : '\0';
    k = c == what[backwards ? m - 1 - k : k] ? k + 1 : 0;
    if (k == m) return backwards ? i : i - m + 1;
  }
  return -1;
}

// Each search starts where the last replacement began, or behind it when
// `with` holds `what`.
std::string ModelReplaceAll(std::string text, int start,
                            const std::string& what, const std::string& with) {
  const bool holds = with.find(what) != std::string::npos;
  const int skip = holds ? static_cast<int>(with.size()) : 0;
  for (int i = ModelFind(text, start, what); i >= 0;
       i = ModelFind(text, i + skip, what))
    text.replace(static_cast<size_t>(i), what.size(), with);
  return text;
}

constexpr char kBlank[] = " \t\x7f\x80\xff";  // the blanks of the alphabet

std::string ModelTrim(const std::string& text) {
  const size_t first = text.find_first_not_of(kBlank);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

// Each token followed by '|'.
std::string ModelTokens(const std::string& text, const std::string& delims) {
  std::string tokens;
  for (size_t i = text.find_first_not_of(delims), end; i != std::string::npos;
       i = text.find_first_not_of(delims, end))
    tokens += text.substr(i, (end = text.find_first_of(delims, i)) - i) + "|";
  return tokens;
}

std::mt19937 engine(20240611u);

std::string Random(const std::string& alphabet, size_t max_length) {
  std::string text(engine() % (max_length + 1), ' ');
  for (char& c : text) c = alphabet[engine() % alphabet.size()];
  return text;
}

// --- Properties --------------------------------------------------------------

// Texts past eight characters reach the scans' word-at-a-time comparisons.
TEST(StringsProperty, SearchesMatchTheModel) {
  for (int round = 0; round < 30000; ++round) {
    const bool longer = round % 3 == 0;
    const std::string text = Random(longer ? "aaab" : "aab", longer ? 40 : 10);
    const std::string what = Random("ab", longer ? 12 : 3);
    XString s(text.c_str());
    SCOPED_TRACE(text + " / " + what);
    for (int start = -1; start <= s.Length() + 1; ++start) {
      ASSERT_EQ(s.Find(start, what.c_str()), ModelFind(text, start, what));
      ASSERT_EQ(s.ReverseFind(start, what.c_str()),
                ModelFind(text, start, what, true));
    }
  }
}

TEST(StringsProperty, EditsMatchTheModel) {
  for (int round = 0; round < 20000; ++round) {
    const std::string text = Random(std::string("ab,;") + kBlank, 10);
    const std::string what = Random("ab", 2), with = Random("ab,", 3);
    const std::string delims = Random(",; a", 2);
    const int start = static_cast<int>(engine() % 4);
    SCOPED_TRACE(text + " / " + what + " / " + with + " / " + delims);
    XString replaced(text.c_str()), trimmed(text.c_str()), split(text.c_str());
    replaced.ReplaceAll(start, what.c_str(), with.c_str());
    trimmed.Trim();
    XVector<XString> tokens;
    split.Tokenize(&tokens, delims.c_str());
    std::string joined;
    for (int i = 0; i < tokens.Count(); ++i) joined += tokens[i] + "|";
    ASSERT_EQ(std::string(replaced.GetPtr(), replaced.Length()),
              ModelReplaceAll(text, start, what, with));
    ASSERT_EQ(std::string(trimmed.GetPtr(), trimmed.Length()), ModelTrim(text));
    ASSERT_EQ(joined, ModelTokens(text, delims));
  }
}

}  // namespace
