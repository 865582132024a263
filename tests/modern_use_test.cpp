// The library's types in a modern user's code: const references, moves,
// standard containers and algorithms, string views, hashes, streams and fmt.
#include <gtest/gtest.h>
#include <morvane/XDllLoader.h>
#include <morvane/XString.h>
#include <morvane/XStringBuf.h>
#include <morvane/XVector.h>

#include <algorithm>
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
              !std::is_convertible_v<std::string_view, XString> &&
              !std::is_convertible_v<const XString&, void*>);

// Buffer bytes as far as Length() says.
std::string Counted(const XString& s) {
  return {s.GetPtr(), size_t(s.Length())};
}

// A string whose Length() counts a zero after "b/c.d": equal to "b/c.d".
XString WithZero(const char* text) { return std::move(XString(text) += '\0'); }

// Everything `s` answers, as one text. S is XString or const XString, so the
// same calls reach the original members or their const overloads.
template <class S>
std::string Answers(S& s, S& other) {
  XVector<XString> tokens;
  XString name, ext;
  s.SplitPath(nullptr, nullptr, &name, &ext).Tokenize(&tokens, "/.");
  std::ostringstream out;
  out << s.GetPtr() << '|' << s.Length() << '|' << int{s[s.Length() / 2]} << '|'
      << static_cast<const char*>(s)
      << (static_cast<const void*>(s) == s.GetPtr()) << (s == "b/c.d")
      << s.CMP("b/c.d") << (s == other) << '|' << s.Find(1, "c")
      << s.ReverseFind(s.Length(), "/") << '|' << s.Sub(1, 3) << '|'
      << (s + "+") << (s + other) << (s + '!') << '|' << name << ext << '|'
      << tokens.Count();
  return out.str();
}

// --- Const overloads ---------------------------------------------------------

TEST(ModernUse, ConstOverloadsAnswerAsTheOriginals) {
  XString zero = WithZero("b/c.d");
  for (XString s :
       {XString(""), XString("b/c.d"), XString("ab/c/cc.x"), zero}) {
    EXPECT_EQ(Answers<const XString>(s, zero), Answers<XString>(s, zero)) << s;
  }
  EXPECT_EQ(Answers<const XString>(zero, zero),
            "b/c.d|6|46|b/c.d1111|21|/c.|b/c.d+b/c.db/c.db/c.d!|c.d|3");
}

TEST(ModernUse, ConstStringsCopyAppendAndAddByTheirText) {
  const XString cab = WithZero("ab");
  XString plain("ab"), copy(cab);
  plain += cab;
  plain += std::as_const(plain);  // its own text, read before it is replaced
  EXPECT_EQ(Counted(copy) + "|" + Counted(plain) + "|" + Counted(plain + cab),
            "ab|abababab|ababababab");
}

// --- Moves -------------------------------------------------------------------

TEST(ModernUse, MoveConstructionHandsTheBufferOverAndLeavesAnEmptyString) {
  XString from = WithZero("abc");
  from.lastArg = 7;
  const char* buffer = from.GetPtr();
  XString to(std::move(from));
  ASSERT_TRUE(to.GetPtr() == buffer && from.GetPtr() != nullptr);
  EXPECT_EQ(Counted(to) + "|" + Counted(from) + "|" + from.GetPtr(),
            "abc\0||"s);
  EXPECT_EQ(to.lastArg, 0u);  // Format's last argument stays behind
}

TEST(ModernUse, MoveAssignmentSwapsTheBuffers) {
  XString a = WithZero("abc"), b("again");
  const char *pa = a.GetPtr(), *pb = b.GetPtr();
  a = std::move(b);
  EXPECT_TRUE(a.GetPtr() == pb && b.GetPtr() == pa);
  EXPECT_EQ(Counted(a) + "|" + Counted(b), "again|abc\0"s);
}

// A growing std::vector moves its strings (the move constructor is
// noexcept), so every text stays in its buffer.
TEST(ModernUse, VectorGrowthMovesTextsWithoutCopying) {
  std::vector<XString> words;
  std::vector<const char*> buffers;
  for (int i = 0; i < 40; ++i) {
    buffers.push_back(words.emplace_back(std::to_string(i).c_str()).GetPtr());
  }
  for (int i = 0; i < 40; ++i) EXPECT_EQ(words[i].GetPtr(), buffers[i]) << i;
}

TEST(ModernUse, XStringBufMovesItsBufferAndLeavesAnEmptyBufferOfCapacityOne) {
  XStringBuf from(16), other(4);
  from.Append("%s", "text");
  const char* buffer = from.GetPtr();
  XStringBuf to(std::move(from));
  const XStringBuf& cto = to;
  EXPECT_TRUE(cto.GetPtr() == buffer && cto.Length() == 4 &&
              cto.Capacity() == 16);
  EXPECT_EQ(std::string(from.GetPtr()) + std::to_string(from.Length()) + "|" +
                std::to_string(from.Capacity()),
            "0|1");
  other = std::move(to);
  EXPECT_TRUE(other.GetPtr() == buffer && to.Capacity() == 4);
}

// --- Standard containers, algorithms and conversions -------------------------

// A function in the modern style: takes the strings by const reference.
long CountLonger(const XVector<XString>& words, const XString& than) {
  return std::count_if(words.begin(), words.end(), [&](const XString& w) {
    return w.Length() > than.Length();
  });
}

TEST(ModernUse, RangeForAndAlgorithmsWalkTheElementsInUse) {
  XVector<XString> words;
  XString("pear fig banana kiwi").Tokenize(&words, " ");
  std::sort(words.begin(), words.end(), [](const XString& a, const XString& b) {
    return std::string_view(a) < std::string_view(b);
  });
  std::string joined;
  for (const XString& word : std::as_const(words)) joined += word + ",";
  EXPECT_EQ(joined + std::to_string(CountLonger(words, XString("fig"))),
            "banana,fig,kiwi,pear,3");
}

TEST(ModernUse, StringViewsAndStdStringsConvertUpToTheFirstZero) {
  const std::pair<XString, const char*> made[] = {
      {XString(std::string_view("cd\0ef", 5)), "cd"},
      {XString(std::string("gh")), "gh"},
      {XString(std::string_view("ijk", 2)), "ij"},
      {WithZero("ab"), "ab\0"}};
  for (const auto& [s, text] : made) {
    EXPECT_EQ(Counted(s), std::string(text, s.Length())) << text;
    EXPECT_EQ(std::string_view(s), text) << text;
    EXPECT_EQ(std::string(s), text) << text;
  }
}

TEST(ModernUse, HashesAndSetsGoByTheText) {
  std::unordered_set<XString> set = {XString("ab"), XString("cd")};
  set.insert(WithZero("ab"));
  EXPECT_EQ(set.size(), 2u);
  EXPECT_EQ(std::hash<XString>()(WithZero("ab")),
            std::hash<std::string_view>()("ab"));
}

TEST(ModernUse, StreamsAndFmtWriteTheTextWithWidthAndFill) {
  std::ostringstream out;
  out << std::setw(5) << std::setfill('.') << WithZero("ab") << '|'
      << XString();
  EXPECT_EQ(out.str(), "...ab|");
#if MORVANE_TEST_WITH_FMT
  EXPECT_EQ(fmt::format("{}|{:>4}", WithZero("ab"), XString("x")), "ab|   x");
#endif
}

// --- The loader, read through a const reference ---------------------------

TEST(ModernUse, ConstLoaderReadsItsPaths) {
  XDllLoader* loader = XDllLoader::GetLoader();
  const XDllLoader& cloader = *loader;
  loader->AddPath("plugins");
  loader->AddPath("more");
  EXPECT_EQ(
      std::string(cloader.GetPath(1)) + std::to_string(cloader.GetPathCount()),
      "more2");
  EXPECT_EQ(cloader.GetPath(2), nullptr);
  loader->KillLoader();
}

}  // namespace
