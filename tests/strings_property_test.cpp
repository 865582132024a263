// Find, ReverseFind, ReplaceAll, Trim and Tokenize against plain models on
// std::string, over many random short strings from small alphabets, where
// partial matches, overlaps and runs of blanks or delimiters are common.
#include <gtest/gtest.h>
#include <morvane/XString.h>
#include <morvane/XVector.h>

#include <random>
#include <string>
#include <vector>

namespace {

// --- Models -----------------------------------------------------------------

// One forward pass; a failed partial match resumes after the failing char.
int ModelFind(const std::string& text, int start, const std::string& pattern) {
  const int length = static_cast<int>(text.size());
  const int m = static_cast<int>(pattern.size());
  if (m == 0 || m > length || start >= length) return -1;
  int k = 0;
  for (int i = start < 0 ? 0 : start; i < length; ++i) {
    if (text[i] == pattern[k]) {
      if (++k == m) return i - m + 1;
    } else {
      k = 0;
    }
  }
  return -1;
}

int ModelReverseFind(const std::string& text, int start,
                     const std::string& pattern) {
  const int length = static_cast<int>(text.size());
  const int m = static_cast<int>(pattern.size());
  if (start > length) start = length;
  if (m == 0 || start < 0 || start < m - 1) return -1;
  int k = m - 1;
  for (int i = start; i >= 0; --i) {
    if (text[i] == pattern[k]) {
      if (--k < 0) return i;
    } else {
      k = m - 1;
    }
  }
  return -1;
}

std::string ModelReplaceAll(std::string text, int start,
                            const std::string& what, const std::string& with) {
  const bool contains = with.find(what) != std::string::npos;
  for (int idx = ModelFind(text, start, what); idx >= 0;) {
    text.replace(idx, what.size(), with);
    idx = ModelFind(text, idx + (contains ? static_cast<int>(with.size()) : 0),
                    what);
  }
  return text;
}

std::string ModelTrim(const std::string& text) {
  auto solid = [](char c) { return c >= 33 && c <= 126; };
  size_t first = 0;
  while (first < text.size() && !solid(text[first])) ++first;
  size_t end = text.size();
  while (end > first && !solid(text[end - 1])) --end;
  return text.substr(first, end - first);
}

std::vector<std::string> ModelTokens(const std::string& text,
                                     const std::string& delimiters) {
  std::vector<std::string> tokens;
  std::string token;
  for (char c : text) {
    if (delimiters.find(c) == std::string::npos) {
      token += c;
    } else if (!token.empty()) {
      tokens.push_back(token);
      token.clear();
    }
  }
  if (!token.empty()) tokens.push_back(token);
  return tokens;
}

// --- Random inputs ----------------------------------------------------------

class RandomText {
 public:
  std::string Next(const std::string& alphabet, int max_length) {
    std::string text(Pick(max_length + 1), ' ');
    for (char& c : text) c = alphabet[Pick(alphabet.size())];
    return text;
  }
  int Pick(size_t n) {
    return static_cast<int>(
        std::uniform_int_distribution<size_t>(0, n - 1)(engine_));
  }

 private:
  std::mt19937 engine_{20240611u};
};

constexpr int kRounds = 20000;

// --- Properties -------------------------------------------------------------

TEST(StringsProperty, FindAndReverseFindMatchTheModel) {
  RandomText random;
  for (int round = 0; round < kRounds; ++round) {
    const std::string text = random.Next("aab", 10);
    const std::string pattern = random.Next("ab", 3);
    XString s(text.c_str());
    const int length = static_cast<int>(text.size());
    for (int start = -1; start <= length + 1; ++start) {
      ASSERT_EQ(s.Find(start, pattern.c_str()), ModelFind(text, start, pattern))
          << text << " / " << pattern << " from " << start;
      ASSERT_EQ(s.ReverseFind(start, pattern.c_str()),
                ModelReverseFind(text, start, pattern))
          << text << " / " << pattern << " back from " << start;
    }
  }
}

TEST(StringsProperty, ReplaceAllMatchesTheModel) {
  RandomText random;
  for (int round = 0; round < kRounds; ++round) {
    const std::string text = random.Next("abc", 10);
    const std::string what = random.Next("ab", 2);
    const std::string with = random.Next("abc", 3);
    const int start = random.Pick(4);
    XString s(text.c_str());
    s.ReplaceAll(start, what.c_str(), with.c_str());
    const std::string expected = ModelReplaceAll(text, start, what, with);
    ASSERT_EQ(std::string(s.GetPtr()), expected)
        << text << " / " << what << " -> " << with << " from " << start;
    ASSERT_EQ(s.Length(), static_cast<int>(expected.size()));
  }
}

TEST(StringsProperty, TrimMatchesTheModel) {
  RandomText random;
  for (int round = 0; round < kRounds; ++round) {
    const std::string text = random.Next(
        " \t\x7f\x80\xff"
        "a!",
        8);
    XString s(text.c_str());
    s.Trim();
    ASSERT_EQ(std::string(s.GetPtr()), ModelTrim(text)) << text;
    ASSERT_EQ(s.Length(), static_cast<int>(ModelTrim(text).size()));
  }
}

TEST(StringsProperty, TokenizeMatchesTheModel) {
  RandomText random;
  for (int round = 0; round < kRounds; ++round) {
    const std::string text = random.Next("ab,; ", 10);
    const std::string delimiters = random.Next(",; a", 2);
    XString s(text.c_str());
    XVector<XString> tokens;
    s.Tokenize(&tokens, delimiters.c_str());
    const std::vector<std::string> expected = ModelTokens(text, delimiters);
    ASSERT_EQ(tokens.Count(), static_cast<int>(expected.size()))
        << text << " / " << delimiters;
    for (int i = 0; i < tokens.Count(); ++i)
      ASSERT_STREQ(tokens[i].GetPtr(), expected[i].c_str());
    ASSERT_STREQ(s.GetPtr(), text.c_str());
  }
}

}  // namespace
