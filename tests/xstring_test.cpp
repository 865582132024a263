// XString: changes and moves and their buffers, search and editing (the
// searches and ReplaceAll also against a plain model on a million random
// cases), conversions, Tokenize and Format, and the type in a modern user's
// code: const overloads, views, hashes, streams and fmt. (The edit, convert
// and format fuzzers hold the same operations to fuller models.)
#include <gtest/gtest.h>
#include <morvane/XString.h>
#include <morvane/XVector.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "support/allocation_counter.h"
#include "support/string_model.h"

#if MORVANE_TEST_WITH_FMT
#include <morvane/fmt.h>
#endif

namespace {

using namespace std::string_literals;  // "ab\0"s keeps its counted zero
namespace model = morvane::model;

// The whole buffer as far as Length() says, and its terminator.
std::string Buffer(const XString& s) {
  return std::string(s.GetPtr(), s.Length() + 1);
}

// A string whose Length() counts a zero after `text`: equal to `text`.
XString WithZero(const char* text) { return std::move(XString(text) += '\0'); }

// A change of a string made from `initial`, the buffer it leaves (the
// terminator included) and whether the old buffer is kept (-1: not checked,
// after several changes whose buffers the allocator may hand back).
using Change =
    std::tuple<const char*, const char*, void (*)(XString&), std::string, int>;
// clang-format off
#define CHANGE(initial, buffer, kept, ...) \
  {#__VA_ARGS__, initial, [](XString& s) { __VA_ARGS__; }, buffer + "\0"s, kept}
// clang-format on

void ExpectChanges(std::initializer_list<Change> changes) {
  for (const auto& [code, initial, run, buffer, kept] : changes) {
    XString s(initial);
    const char* before = s.GetPtr();
    run(s);
    EXPECT_EQ(Buffer(s), buffer) << initial << ": " << code;
    EXPECT_TRUE(kept < 0 || (s.GetPtr() == before) == kept) << code;
  }
}

// --- Assignment, concatenation, moves, new strings ------------------------

// An appended zero is counted; what is appended after it follows the visible
// text. Copies measure the text. Moves hand the buffer and Length() over,
// leave an empty string in a new buffer, and swap on assignment.
TEST(XStringCore, ChangesInstallExactBuffers) {
  // clang-format off
  ExpectChanges({
      CHANGE("ab", "ab"s, 1, s = "ab"),  CHANGE("ab", "ab"s, 0, s = *&s),
      CHANGE("", ""s, 0, s.Empty()),     CHANGE("ab", "ab\0"s, 0, s += '\0'),
      CHANGE("ab", "abcd\0"s, -1, (s += '\0') += "cd"),
      CHANGE("ab", "abc"s, 0, s += XString("c") += '\0'),
      CHANGE("ab", "ab"s, -1, s = (s += '\0')),
      CHANGE("ab", "ab"s, -1, s = XString(s += '\0')),
      CHANGE("ab", "ab"s, 0, s = s + '\0'),
      CHANGE("ab", "ab"s, 1, XString to(std::move(s)); s = std::move(to)),
      CHANGE("ab", ""s, 0, XString to(std::move(s))),
      CHANGE("", "cd\0"s, -1, XString to(WithZero("cd")); s = std::move(to)),
      CHANGE("ab", "cd|ab"s, -1, XString o("cd"); s = std::move(o);
             s.Format("%s|%s", s.GetPtr(), o.GetPtr())),
      // A const string is copied, appended and added by its text too.
      CHANGE("ab", "abab"s, 0, s += std::as_const(s)),
      CHANGE("", "ab"s, 0, const XString c = WithZero("ab"); s = XString(c)),
      CHANGE("ab", "abab"s, 0, const XString c = WithZero("ab"); s = s + c)});
  // clang-format on
}

// The lengths are not compared.
TEST(XStringCore, ComparesTheTextsByteForByte) {
  XString s("ab"), counted("ab");
  EXPECT_TRUE(s == (counted += '\0') && s == "ab" && s.CMP("ab"));
  for (const char* other : {"ac", "a", "abc", ""})
    EXPECT_FALSE(s == other || s.CMP(other) || s == XString(other)) << other;
}

// --- Editing ----------------------------------------------------------------

// Each row: from, to, then Sub's result and the text after Delete, on
// abcdef; out-of-range ends are clamped. Delete always installs a new buffer.
TEST(XStringEdit, SubAndDeleteTakeInclusiveRanges) {
  // clang-format off
  const struct { int from, to; const char *sub, *deleted; } cases[] = {
      {1, 3, "bcd", "aef"}, {2, 1, "", "abcdef"}, {3, 6, "def", "abc"},
      {5, 5, "f", "abcde"}, {6, 6, "", "abcdef"}, {-2, 1, "ab", "cdef"},
      {4, 99, "ef", "abcd"}};
  // clang-format on
  for (const auto& [from, to, sub, deleted] : cases) {
    XString s("abcdef");
    EXPECT_EQ(Buffer(s.Sub(from, to)), sub + "\0"s) << from << ".." << to;
    const char* before = s.GetPtr();
    EXPECT_EQ(Buffer(s.Delete(from, to)), deleted + "\0"s) << from;
    EXPECT_NE(s.GetPtr(), before);
  }
}

// Insert always installs a new buffer; Replace and ReplaceAll keep it exactly
// when nothing is found. Find never backs up: "ab" is not in "aab". Arguments
// may point anywhere into the string's own text, its first byte included,
// also before a counted zero, where ReplaceAll's result lands over them. A
// counted zero is searched and edited as any byte (the buffer a b 0 x has
// length 4), and a Sub range that meets it ends there.
TEST(XStringEdit, InsertsReplacesAndSearchesTheWholeBuffer) {
  // clang-format off
  ExpectChanges({
      CHANGE("abc", "aXYbc"s, 0, s.Insert(1, "XY")),
      CHANGE("abc", "XYabc"s, 0, s.Insert(-3, "XY")),
      CHANGE("abc", "abc"s, 0, s.Insert(1, "")),
      CHANGE("a,b,c", "a.b,c"s, 0, s.Replace(0, ",", ".")),
      CHANGE("aab", "aab"s, 1, s.Replace(0, "ab", "Z")),
      CHANGE("aab", "aab"s, 1, s.ReplaceAll(0, "ab", "Z")),
      CHANGE("abc", "aabcbc"s, 0, s.Insert(1, s.GetPtr())),
      CHANGE("abc", "aabc"s, 0, s.Replace(0, s.GetPtr() + 1, s.GetPtr())),
      CHANGE("a-b-c", "acbcc"s, -1, s.ReplaceAll(0, "-", s.GetPtr() + 4)),
      CHANGE("x-c-c", "xYY"s, -1, s.ReplaceAll(0, s.GetPtr() + 3, "Y")),
      CHANGE("a-b-c", "aa-b-cba-b-cc"s, -1, s.ReplaceAll(0, "-", s.GetPtr())),
      CHANGE("xy", "\0ab"s, -1, (s += '\0').Insert(3, "abxyxy");
             s.ReplaceAll(0, s.GetPtr(), "")),
      CHANGE("a--b", "abb\0b"s, -1, (s += '\0').Insert(5, "--");
             s.ReplaceAll(0, "--", s.GetPtr() + 3)),
      CHANGE("ab", "3 3"s, -1, (s += '\0') += 'x';
             s.Format("%d %d", s.Find(0, "x"), s.ReverseFind(4, "x"))),
      CHANGE("ab", "ab"s, -1, (s += '\0') += 'x'; s = s.Sub(0, 3)),
      CHANGE("ab", "b\0ZZy"s, -1, (s += '\0') += 'x';
             s.Delete(0, 0).Insert(9, "y").Replace(0, "x", "ZZ"))});
  // clang-format on
}

// ReplaceAll builds its result in one new buffer: a match may begin inside
// the copy just inserted and run on into the old text, runs shrink to one
// copy, and when `with` contains `what` the search resumes behind the copy.
// A result longer than the largest int (also 2^32 + 2^16, which a 32-bit
// count wraps to 2^16) leaves the string and its buffer alone.
TEST(XStringEdit, ReplaceAllMakesOneBufferOrLeavesTheString) {
  const std::string a16(1 << 16, 'a');
  const std::string over[] = {std::string((1 << 15) + 1, 'b'),
                              std::string((1 << 16) + 1, 'b')};
  // clang-format off
  const struct {
    const char *text, *what, *with, *result;
    int allocations;
  } cases[] = {
      {"abb", "ab", "xa", "xxa", 1},           {"xabb", "ab", "a", "xa", 1},
      {"\\\\\\\\a\\\\\\b", "\\\\", "\\", "\\a\\b", 1},
      {"aXabab", "ab", "aab", "aXaabaab", 1},  {"aaaa", "aa", "b", "bb", 1},
      {a16.c_str(), "a", over[0].c_str(), a16.c_str(), 0},
      {a16.c_str(), "a", over[1].c_str(), a16.c_str(), 0}};
  // clang-format on
  for (const auto& [text, what, with, result, allocations] : cases) {
    XString s(text);
    const char* const buffer = s.GetPtr();
    const int before = morvane::testing::Allocations();
    s.ReplaceAll(0, what, with);
    const std::string row = what + " by "s + std::to_string(std::strlen(with));
    EXPECT_EQ(morvane::testing::Allocations() - before, allocations) << row;
    EXPECT_EQ(Buffer(s), result + "\0"s) << row;
    EXPECT_EQ(s.GetPtr() == buffer, allocations == 0) << row;
  }
}

// --- Conversions ------------------------------------------------------------

// GetValue turns only the first comma into a period and reads as atof. A
// 16-bit unit gives its low byte; one whose low byte is zero ends the text.
// Solid bytes are 33 to 126: Trim keeps the buffer exactly when both ends
// are solid, keeps every byte between them; a counted zero is blank.
TEST(XStringConvert, ConversionsRewriteTheText) {
  static const unsigned short kWide[][4] = {{321, 66}, {65, 256, 67}};
  // clang-format off
  ExpectChanges({
      CHANGE("1,5,2", "1.5,2 1.5"s, -1,
             const double v = s.GetValue(); s.Format("%s %g", s.GetPtr(), v)),
      CHANGE("old", "AB"s, 0, s.GetFromUnicode(kWide[0])),
      CHANGE("old", "A"s, 0, s.GetFromUnicode(kWide[1])),
      CHANGE(" \t\nx y\r\n", "x y"s, 0, s.Trim()),
      CHANGE("\x7f\200!\1\377~\351 ", "!\1\377~"s, 0, s.Trim()),
      CHANGE(" a", "a"s, 0, s.Trim()),  CHANGE(" ", ""s, 0, s.Trim()),
      CHANGE("!\200~", "!\200~"s, 1, s.Trim()),
      CHANGE("a", "a"s, 1, s.Trim()), CHANGE("ab", "ab"s, -1, (s += '\0').Trim())});
  // clang-format on
}

// The text becomes the path's drive|directory|name|extension|.
void Split(XString& s) {
  XString p[4] = {"old", "old", "old", "old"};
  s.SplitPath(p, p + 1, p + 2, p + 3);
  s.Format("%s|%s|%s|%s|", p[0].GetPtr(), p[1].GetPtr(), p[2].GetPtr(),
           p[3].GetPtr());
}

// The extension starts at the last period of the name; parts are cut to
// 255 characters; the string itself may take a part.
TEST(XStringConvert, SplitPathAssignsThroughNonNullPointers) {
  const std::string cut(254, 'x');
  // clang-format off
  ExpectChanges({
      CHANGE("C:\\d\\s\\n.e", "C:|\\d\\s\\|n|.e|"s, -1, Split(s)),
      CHANGE("ab:c.d", "||ab:c|.d|"s, -1, Split(s)),  // no drive but C:
      CHANGE("x.y/a.b.c", "|x.y/|a.b|.c|"s, -1, Split(s)),
      // The string itself may take a part.
      CHANGE("C:\\d\\n.e", "nC:.e"s, -1, XString d("d"), e;
             s.SplitPath(&d, nullptr, &s, &e); s += d; s += e),
      CHANGE("", "C:|\\" + cut + "|x" + cut + "|." + cut + "|", -1,
             const std::string x(300, 'x');
             s = ("C:\\" + x + "\\" + x + "." + x).c_str(); Split(s))});
  // clang-format on
}

// strtok's rules: no empty tokens, appended after what the vector holds. The
// text ends at its first zero, and the string keeps its bytes and length.
TEST(XStringTokenize, AppendsTheTokensBeforeTheFirstZero) {
  XVector<XString> v;
  v.Add(XString("held"));
  XString s(",a,,bc,");
  ((s += '\0') += 'z').Tokenize(&v, ",");
  std::string got;
  for (const XString& token : std::as_const(v)) got += std::string(token) + "|";
  EXPECT_EQ(got + Buffer(s), "held|a|bc|,a,,bc,\0z\0"s);
}

// --- Format -----------------------------------------------------------------

// %s takes a pointer (a null one reads "(null)"), %g and %f a double
// (lastArg keeps the bits of the float that it narrows to). Only Format sets
// lastArg: new strings, copies and moves hold 0.
TEST(XStringFormat, ConvertsPointersAndDoubles) {
  static const char* null = nullptr;  // not a constant: no warning
  // clang-format off
  ExpectChanges({
      CHANGE("", "(null)"s, 0, s.Format("%s%s", null, "")),
      CHANGE("", "1 2.5 0.100000 3dcccccd"s, -1, s.Format("%d %g %f", 1, 2.5, 0.1);
             s.Format("%s %x", s.GetPtr(), s.lastArg)),
      CHANGE("", "0 0 0 0"s, -1, XString c(s.Format("%d", 7)), m(std::move(s));
             s.Format("%x %x %x %x", XString().lastArg, XString("a", "b").lastArg,
                      c.lastArg, m.lastArg))});
  // clang-format on
}

// Text that fits the 1024-character scratch area makes one allocation, the
// string's new buffer. Longer text is kept whole: the area doubles, or grows
// to the text where doubling is not enough, also where a %f crosses its end.
TEST(XStringFormat, AllocatesOnceUnlessTheTextOutgrowsTheScratchArea) {
  const std::string x1016(1016, 'x'), head(1020, 'h'), q(5000, 'q');
  XString s("previous text");
  int before = morvane::testing::Allocations();
  s.Format("%d %s %x %g", -12, "name", 0xBEEF, 1.5);
  s.Format(x1016.c_str() + x1016.size());  // the empty format
  s.Format("%s%f", x1016.c_str(), 0.5);    // ends at the scratch area's end
  EXPECT_EQ(morvane::testing::Allocations() - before, 3);
  EXPECT_EQ(Buffer(s), x1016 + "0.500000\0"s);
  before = morvane::testing::Allocations();
  s.Format("%s%f%s", head.c_str(), 0.25, q.c_str());  // areas of 2048, 6028
  EXPECT_EQ(morvane::testing::Allocations() - before, 3);
  EXPECT_EQ(Buffer(s), head + "0.250000" + q + '\0');
}

// --- Search against the plain model ----------------------------------------

// Mostly 'a' and 'b', now and then 'c' or the byte 0xff (a sign error's
// favourite).
std::string RandomBytes(std::mt19937& random, size_t size) {
  std::string bytes(size, ' ');
  for (char& c : bytes) c = "aaaaaaabbbbbbbc\xff"[random() % 16];
  return bytes;
}

// `size` characters: a unit of one to four repeated, now and then broken by
// another byte, so that occurrences overlap and follow each other closely.
std::string Repeated(std::mt19937& random, size_t size) {
  const std::string unit = RandomBytes(random, 1 + random() % 4);
  std::string text;
  while (text.size() < size)
    text += random() % 8 == 0 ? RandomBytes(random, 1) : unit;
  return text.substr(0, size);
}

// Texts of 0 to 100 characters, one in two hundred of 1000 to 3000, a
// quarter of them repeated units; patterns of 0 (never found) to 10, one in
// eight up to 40 (longer than the scans' blocks of 8 and 32 candidates), half
// of them cut from the text and a quarter of those with one byte changed;
// replacements of 0 to 3 characters, half of them followed by a start of the
// pattern (a match may then begin inside the inserted copy; the whole
// pattern makes the search resume behind it); starts from before the text to
// beyond its terminator, and the int limits. MORVANE_SCAN_CASES, when set,
// gives the number of cases (the valgrind and emulated runs take fewer).
TEST(XStringSearch, FindsAndReplacesAsThePlainModelOnAMillionCases) {
  const char* const variable = std::getenv("MORVANE_SCAN_CASES");
  const long cases = variable != nullptr ? std::atol(variable) : 1000000;
  std::mt19937 random(20261206u);
  for (long round = 0; round < cases; ++round) {
    const size_t length =
        random() % 200 == 0 ? 1000 + random() % 2000 : random() % 101;
    const std::string text = random() % 4 == 0 ? Repeated(random, length)
                                               : RandomBytes(random, length);
    const size_t size = random() % (random() % 8 == 0 ? 41 : 11);
    std::string what = RandomBytes(random, size);
    if (random() % 2 == 0 && size > 0 && size <= text.size()) {
      what = text.substr(random() % (text.size() - size + 1), size);
      if (random() % 4 == 0) what[random() % size] = RandomBytes(random, 1)[0];
    }
    std::string with = RandomBytes(random, random() % 4);
    if (random() % 2 == 0) with += what.substr(0, random() % (size + 1));
    const int edges[] = {INT_MIN, INT_MAX};
    const int start = random() % 16 == 0
                          ? edges[random() % 2]
                          : int(random() % (text.size() + 5)) - 2;
    XString s(text.c_str());
    std::string replaced = text;
    model::ReplaceAll(replaced, start, what, with);
    // Braces: the searches run before ReplaceAll changes the string.
    ASSERT_EQ(
        (std::tuple{s.Find(start, what.c_str()),
                    s.ReverseFind(start, what.c_str()),
                    Buffer(s.ReplaceAll(start, what.c_str(), with.c_str()))}),
        (std::tuple{model::Find(text, start, what),
                    model::ReverseFind(text, start, what), replaced + '\0'}))
        << "case " << round << ": start, text, what, with "
        << testing::PrintToString(std::tuple{start, text, what, with});
  }
}

// --- In a modern user's code ------------------------------------------------

// Lookalike overloads that must neither be ambiguous nor pick a surprise.
static_assert(std::is_nothrow_move_constructible_v<XString> &&
              !std::is_convertible_v<std::string_view, XString> &&
              !std::is_convertible_v<const XString&, void*>);

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
      << (s == "b") << s.CMP("b/c.d") << (s == other) << '|' << s.Find(1, "c")
      << s.ReverseFind(s.Length(), "/") << '|' << s.Sub(1, 3) << '|'
      << (s + "+") << (s + other) << (s + '!') << '|' << name << ext << '|'
      << tokens.Count();
  return out.str();
}

TEST(XStringModern, ConstOverloadsAnswerAsTheOriginals) {
  XString zero = WithZero("b/c.d");
  const std::string answers =
      "b/c.d|6|46|b/c.d11011|21|/c.|b/c.d+b/c.db/c.db/c.d!|c.d|3";
  EXPECT_EQ(Answers<XString>(zero, zero), answers);
  EXPECT_EQ(Answers<const XString>(zero, zero), answers);
}

// Views, std::string, hashes, streams (whose width and fill apply) and fmt
// see the text up to its first zero.
TEST(XStringModern, StandardTypesSeeTheTextUpToTheFirstZero) {
  const XString zero = WithZero("ab");
  std::ostringstream out;
  out << std::string(zero) << '|' << std::string_view(zero) << '|'
      << (std::hash<XString>()(zero) == std::hash<std::string_view>()("ab"))
      << '|' << std::setw(5) << std::setfill('.') << zero << XString() << '|'
      << Buffer(XString(std::string_view("cd\0ef", 5)))
      << Buffer(XString(std::string_view("ijk", 2)));
  EXPECT_EQ(out.str(), "ab|ab|1|...ab|cd\0ij\0"s);
#if MORVANE_TEST_WITH_FMT
  EXPECT_EQ(fmt::format("{}|{:>4}", zero, XString("x")), "ab|   x");
#endif
}

}  // namespace
