// The library's types in a modern user's code: const references, moves,
// standard containers and algorithms, string views, hashes, streams and fmt.
#include <gtest/gtest.h>
#include <morvane/XDllLoader.h>
#include <morvane/XPtrList.h>
#include <morvane/XString.h>
#include <morvane/XStringBuf.h>
#include <morvane/XVector.h>

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_set>
#include <utility>
#include <vector>

#if MORVANE_TEST_WITH_FMT
#include <morvane/fmt.h>
#endif

namespace {

using namespace std::string_literals;

// Lookalike overloads that must neither be ambiguous nor pick a surprise.
static_assert(std::is_nothrow_move_constructible_v<XString> &&
              std::is_nothrow_move_assignable_v<XString> &&
              std::is_nothrow_move_constructible_v<XStringBuf>);
static_assert(std::is_constructible_v<XString, std::nullptr_t> &&
              std::is_assignable_v<XString&, std::nullptr_t> &&
              std::is_constructible_v<XString, std::string> &&
              !std::is_convertible_v<std::string_view, XString> &&
              std::is_convertible_v<const XString&, std::string_view> &&
              std::is_convertible_v<const XString&, const char*> &&
              !std::is_convertible_v<const XString&, void*>);
static_assert(
    std::is_same_v<decltype(std::declval<XString&>() + "x"), XString> &&
    std::is_same_v<decltype(std::declval<XString&>() += 'c'), XString&>);

// Buffer bytes as far as Length() says.
std::string Counted(const XString& s) {
  return std::string(s.GetPtr(), static_cast<size_t>(s.Length()));
}

// Everything `s` answers, as one text. S is XString or const XString, so the
// same calls reach the original members or their const overloads.
template <class S>
std::string Answers(S& s, S& other) {
  XVector<XString> tokens;
  XString name, ext;
  s.SplitPath(nullptr, nullptr, &name, &ext).Tokenize(&tokens, "/.");
  std::ostringstream out;
  out << s.GetPtr() << '|' << s.Length() << '|' << int{s[s.Length() / 2]} << '|'
      << static_cast<const char*>(s) << '|'
      << (static_cast<const void*>(s) == s.GetPtr()) << (s == "b/c.d")
      << s.CMP("b/c.d") << (s == other) << '|' << s.Find(1, "c") << '|'
      << s.ReverseFind(s.Length(), "/") << '|' << s.Sub(1, 3) << '|'
      << (s + "+") << (s + other) << (s + '!') << '|' << name << ext << '|'
      << tokens.Count();
  return out.str();
}

// --- Const overloads ---------------------------------------------------------

TEST(ModernUse, ConstOverloadsAnswerAsTheOriginals) {
  XString counted("b/c.d");
  counted += '\0';  // counted in Length(), yet equal to "b/c.d"
  for (XString s : {XString(""), XString("b/c.d"), XString("ab/c/cc.x")}) {
    EXPECT_EQ(Answers<const XString>(s, counted), Answers<XString>(s, counted));
  }
  EXPECT_EQ(Answers<const XString>(counted, counted),
            "b/c.d|6|46|b/c.d|1111|2|1|/c.|b/c.d+b/c.db/c.db/c.d!|c.d|3");
}

// A const string, a non-const one and a temporary mix in every operation
// that takes a string.
TEST(ModernUse, ConstStringsCopyAppendAddAndCompareByTheirText) {
  XString ab("ab"), plain("ab");
  ab += '\0';
  const XString& cab = ab;
  XString copy(cab);
  EXPECT_EQ(Counted(copy), "ab");  // measured, the zero dropped
  XString sum = plain + cab, csum = std::as_const(plain) + cab;
  EXPECT_EQ(Counted(sum) + Counted(csum), "abababab");
  plain += cab;
  plain += std::as_const(plain);  // its own text, read before it is replaced
  EXPECT_EQ(Counted(plain), "abababab");
  EXPECT_TRUE(plain == XString("abababab") && !(plain == cab) && ab == cab &&
              cab == XString("ab") && std::as_const(plain) == plain);
}

// --- Moves -------------------------------------------------------------------

TEST(ModernUse, MovingHandsTheBufferOverAndLeavesAValidEmptyString) {
  XString from;
  from.Format("%s", "abc") += '\0';
  const char* buffer = from.GetPtr();
  XString to(std::move(from));
  EXPECT_EQ(to.GetPtr(), buffer);
  EXPECT_EQ(to.Length(), 4);  // the counted zero stays counted
  EXPECT_EQ(to.lastArg, 0u);  // Format's last argument stays behind
  EXPECT_TRUE(from.GetPtr() != nullptr && from.GetPtr() != buffer);
  EXPECT_EQ(Counted(from) + "|" + from.GetPtr(), "|");
  from += "again";
  EXPECT_EQ(Counted(from), "again");

  const char* again = from.GetPtr();
  from = std::move(to);  // a swap: each ends with the other's buffer
  EXPECT_TRUE(from.GetPtr() == buffer && to.GetPtr() == again);
  EXPECT_EQ(Counted(from) + "|" + Counted(to), "abc\0|again"s);
  XString& same = from;
  from = std::move(same);  // assigning a string to itself changes nothing
  EXPECT_EQ(from.GetPtr(), buffer);
}

// A growing std::vector moves its strings (the move constructor is
// noexcept), so every text stays in its buffer.
TEST(ModernUse, VectorGrowthMovesTextsWithoutCopying) {
  std::vector<XString> words;
  std::vector<const char*> buffers;
  for (int i = 0; i < 40; ++i) {
    words.emplace_back(std::to_string(i).c_str());
    buffers.push_back(words.back().GetPtr());
  }
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(words[i].GetPtr(), buffers[i]);
    EXPECT_EQ(words[i], std::to_string(i).c_str());
  }
}

TEST(ModernUse, XStringBufMovesItsBufferAndLeavesCapacityOne) {
  XStringBuf from(16);
  from.Append("%s", "text");
  const char* buffer = from.GetPtr();
  XStringBuf to(std::move(from));
  const XStringBuf& cto = to;
  EXPECT_TRUE(cto.GetPtr() == buffer && cto.Length() == 4 &&
              cto.Capacity() == 16);
  EXPECT_EQ(std::string(from.GetPtr()) + "|" + std::to_string(from.Length()) +
                "|" + std::to_string(std::as_const(from).Capacity()),
            "|0|1");
  from.Append("%d", 1234);  // grows from 1, as any buffer
  EXPECT_EQ(std::string(from.GetPtr()) + "|" + std::to_string(from.Capacity()),
            "1234|8");
  from = std::move(to);
  EXPECT_TRUE(from.GetPtr() == buffer && std::string(to.GetPtr()) == "1234");
  EXPECT_EQ(std::as_const(to).Length() + to.Capacity(), 4 + 8);
}

// --- Standard containers, algorithms and conversions -------------------------

// A function in the modern style: takes the strings by const reference.
int CountLonger(const XVector<XString>& words, const XString& than) {
  return static_cast<int>(std::count_if(
      words.begin(), words.end(),
      [&](const XString& w) { return w.Length() > than.Length(); }));
}

TEST(ModernUse, RangeForAndAlgorithmsWalkTheElementsInUse) {
  XVector<XString> words;
  EXPECT_EQ(words.begin(), words.end());
  XString("pear fig banana kiwi").Tokenize(&words, " ");
  std::string joined;
  for (const XString& word : words) joined += std::string(word) + ",";
  EXPECT_EQ(joined, "pear,fig,banana,kiwi,");
  EXPECT_EQ(CountLonger(words, XString("fig")), 3);
  auto found = std::find(words.begin(), words.end(), XString("banana"));
  EXPECT_EQ(found - words.begin(), 2);
  std::sort(words.begin(), words.end(), [](const XString& a, const XString& b) {
    return std::string_view(a) < std::string_view(b);
  });
  const auto& cwords = words;
  EXPECT_EQ(std::string(*cwords.begin()) + std::string(cwords.end()[-1]),
            "bananapear");
  XString mutable_word("plum");
  words.Add(mutable_word);  // the documented Add(T&)
  EXPECT_EQ(words.end() - words.begin(), 5);
}

TEST(ModernUse, StringViewsAndStdStringsConvertByTheText) {
  XString counted("ab");
  counted += '\0';
  const std::string_view view = counted;  // the text, not the counted zero
  EXPECT_EQ(view, "ab");
  // clang-format off
  const std::pair<XString, const char*> made[] = {
      {XString(std::string_view("cd\0ef", 5)), "cd"},
      {XString(std::string("gh")), "gh"},
      {XString(std::string_view()), ""},
      {XString(std::string_view("ijk", 2)), "ij"}};
  // clang-format on
  for (const auto& [s, text] : made) {
    EXPECT_EQ(Counted(s), text);
    EXPECT_EQ(s.GetPtr()[s.Length()], '\0');
  }
  EXPECT_EQ(std::string(counted) + std::string(std::string_view(made[0].first)),
            "abcd");
  // An XString goes where a const char* is due.
  EXPECT_EQ(std::strlen(std::as_const(counted)), 2u);
}

TEST(ModernUse, HashesAndSetsGoByTheText) {
  XString counted("ab");
  counted += '\0';
  EXPECT_EQ(std::hash<XString>()(counted), std::hash<std::string_view>()("ab"));
  std::unordered_set<XString> set = {XString("ab"), XString("cd")};
  set.insert(counted);
  EXPECT_EQ(set.size(), 2u);
  EXPECT_EQ(set.count(XString("cd")), 1u);
}

TEST(ModernUse, StreamsWriteTheTextWithWidthAndFill) {
  XString counted("ab");
  counted += '\0';
  std::ostringstream out;
  out << std::setw(5) << std::setfill('.') << counted << '|' << XString();
  EXPECT_EQ(out.str(), "...ab|");
#if MORVANE_TEST_WITH_FMT
  EXPECT_EQ(fmt::format("{}|{:>4}|{:.1}", counted, XString("x"), XString("yz")),
            "ab|   x|y");
#endif
}

// --- Lists and the loader, read through const references ---------------------

TEST(ModernUse, ConstListsReadWithoutRebuildingTheIndex) {
  int values[3];
  XPtrList list;
  const XPtrList& clist = list;
  EXPECT_EQ(clist.Get(0), nullptr);
  for (int& v : values) list.AddTail(&v);
  EXPECT_FALSE(list.valid);
  EXPECT_TRUE(clist.Get(0) == &values[0] && clist.Get(2) == &values[2] &&
              clist.Count() == 3);
  EXPECT_FALSE(list.valid);
  list.Get(0);
  list.index[1] = nullptr;  // a current index is what the const read uses
  EXPECT_EQ(clist.Get(1), nullptr);
  list.Clear();

  XDllLoader* loader = XDllLoader::GetLoader();
  const XDllLoader& cloader = *loader;
  EXPECT_EQ(cloader.GetPath(0), nullptr);
  loader->AddPath("plugins");
  loader->AddPath("more");
  EXPECT_EQ(
      std::string(cloader.GetPath(1)) + std::to_string(cloader.GetPathCount()),
      "more2");
  loader->KillLoader();
}

}  // namespace
