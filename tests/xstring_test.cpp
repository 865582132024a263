// XString: changes and moves and their buffers, search and editing (the
// searches and ReplaceAll also against a plain model on a million random
// cases), conversions, Tokenize and Format, and the type in a modern user's
// code: const overloads, views, hashes, streams and fmt. (The edit, convert
// and format fuzzers hold the same operations to fuller models.)
#include <gtest/gtest.h>
#include <morvane/XString.h>
#include <morvane/XVector.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "support/allocation_counter.h"
#include "support/opaque.h"
#include "support/string_model.h"
#include "support/xstring_bytes.h"

#if MORVANE_TEST_WITH_FMT
#include <morvane/fmt.h>
#endif

namespace {

using namespace std::string_literals;  // "ab\0"s keeps its counted zero
using morvane::testing::Buffer;
namespace model = morvane::model;

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
    if (kept >= 0) {
      EXPECT_EQ(s.GetPtr() == before, kept == 1) << code;
    }
  }
}

// --- Assignment, concatenation, moves ----------------------------------------

// Assigning the same text keeps the buffer; every other assignment installs
// a new one, whose length is measured.
TEST(XStringCore, AssignmentKeepsTheBufferOnlyForTheSameText) {
  // clang-format off
  ExpectChanges({
      CHANGE("ab", "ab"s, 1, s = "ab"),
      CHANGE("ab", "ab"s, 0, s = *&s),
      CHANGE("", ""s, 0, s.Empty()),
      CHANGE("ab", "ab"s, -1, s = (s += '\0')),
      CHANGE("", "ab"s, 0, const XString c = WithZero("ab"); s = XString(c)),
      CHANGE("ab", "ab"s, -1, s = XString(s += '\0'))});
  // clang-format on
}

// An appended zero is counted, and what is appended after it follows the
// visible text; an appended or added string counts by its text.
TEST(XStringCore, AppendsCountAZeroCharacter) {
  // clang-format off
  ExpectChanges({
      CHANGE("ab", "ab\0"s, 0, s += '\0'),
      CHANGE("ab", "abcd\0"s, -1, (s += '\0') += "cd"),
      CHANGE("ab", "abc"s, 0, s += XString("c") += '\0'),
      CHANGE("ab", "ab"s, 0, s = s + '\0'),
      CHANGE("ab", "abab"s, 0, s += std::as_const(s)),
      CHANGE("ab", "abab"s, 0, const XString c = WithZero("ab"); s = s + c)});
  // clang-format on
}

// Moves hand the buffer and Length() over and leave an empty string in a new
// buffer; move assignment swaps.
TEST(XStringCore, MovesHandTheBufferOver) {
  // clang-format off
  ExpectChanges({
      CHANGE("ab", "ab"s, 1, XString to(std::move(s)); s = std::move(to)),
      CHANGE("ab", ""s, 0, XString to(std::move(s))),
      CHANGE("", "cd\0"s, -1, XString to(WithZero("cd")); s = std::move(to)),
      CHANGE("ab", "cd|ab"s, -1, XString o("cd"); s = std::move(o);
             s = s + "|" + o)});
  // clang-format on
}

// No units, and then units that a count from the wrong start would take.
const unsigned short kNoUnits[] = {0, 65, 0};

// Each row's last allocation is the new buffer, of exactly Length() + 1
// bytes: one for an empty string.
TEST(XStringCore, BuffersHaveTheExactSize) {
  // clang-format off
  const std::pair<const char*, void (*)(XString&)> changes[] = {
      {"= XString()", [](XString& s) { s = XString(); }},
      {"Empty", [](XString& s) { s.Empty(); }},
      {"Trim", [](XString& s) { s.Trim(); }},
      {"Trim to empty", [](XString& s) { (s = " ").Trim(); }},
      {"+= 'x'", [](XString& s) { s += 'x'; }},
      {"Delete", [](XString& s) { s.Delete(0, 0); }},
      {"GetFromUnicode", [](XString& s) { s.GetFromUnicode(kNoUnits); }}};
  // clang-format on
  for (const auto& [code, change] : changes) {
    XString s(" ab ");
    change(s);
    EXPECT_EQ(morvane::testing::LastAllocationSize(), s.size() + 1) << code;
  }
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
      CHANGE("abc", "Xbc"s, 0, s.Replace(0, "a", "X")),
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

// --- Null arguments ---------------------------------------------------------

const char* Null() { return morvane::testing::Null<const char>(); }

// A null C-string argument reads as the empty text: an empty string keeps
// its buffer on `= null`, a null pattern is never found, a null replacement
// deletes, a null format or 16-bit text gives the empty string, null
// delimiters make the whole text one token, a null vector receives nothing.
TEST(XStringNull, NullTextReadsAsTheEmptyText) {
  // clang-format off
  ExpectChanges({
      CHANGE("ab", ""s, 0, s = XString(Null())),
      CHANGE("ab", "cd"s, 0, s = XString(Null(), "cd")),
      CHANGE("ab", "cd"s, 0, s = XString("cd", Null())),
      CHANGE("", ""s, 1, s = Null()),
      CHANGE("ab", ""s, 0, s = Null()),
      CHANGE("ab", "ab"s, 0, s += Null()),
      CHANGE("ab", "ab"s, 0, s = s + Null()),
      CHANGE("ab", "ab"s, 0, s.Insert(1, Null())),
      CHANGE("ab", "ab"s, 1, s.Replace(0, Null(), "x")),
      CHANGE("abc", "ac"s, 0, s.Replace(0, "b", Null())),
      CHANGE("ab", "ab"s, 1, s.ReplaceAll(0, Null(), "x")),
      CHANGE("abcb", "ac"s, -1, s.ReplaceAll(0, "b", Null())),
      CHANGE("ab", ""s, 0, s.Format(Null(), 1)),
      CHANGE("ab", ""s, 0,
             s.GetFromUnicode(morvane::testing::Null<const unsigned short>())),
      CHANGE("ab", "-1 -1 0 1 0 1"s, -1,
             s.Format("%d %d %d %d %d %d", s.Find(0, Null()),
                      s.ReverseFind(2, Null()), s == Null(), XString() == Null(),
                      s.CMP(Null()), XString().CMP(Null()))),
      CHANGE("a b", "1 a b"s, -1, XVector<XString> v;
             s.Tokenize(nullptr, " ").Tokenize(&v, Null());
             XString().Tokenize(&v, Null()); s.Format("%d %s", v.Count(), v[0].GetPtr()))});
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
      CHANGE(",5", ".5 0.5"s, -1,
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

// Formats with the arguments of a variadic function of the caller's own.
XString& FormatList(XString& s, const char* format, ...) {
  va_list args;
  va_start(args, format);
  s.FormatV(format, args);
  va_end(args);
  return s;
}

// %s takes a pointer (a null one reads "(null)"), %g and %f a double
// (lastArg keeps the bits of the float that it narrows to). Only Format sets
// lastArg: new strings, copies and moves hold 0. A format known at run time
// renders the same through FormatV or as a RuntimeFormat.
TEST(XStringFormat, ConvertsPointersAndDoubles) {
  static const std::string runtime = "%d|%s|%5d";
  // clang-format off
  ExpectChanges({
      CHANGE("", "7|x|5d"s, 0, FormatList(s, runtime.c_str(), 7, "x")),
      CHANGE("ab", ""s, 0, FormatList(s, nullptr)),
      CHANGE("", "8|y|5d"s, 0,
             s.Format(XString::RuntimeFormat(runtime.c_str()), 8, "y")),
      CHANGE("", "(null)"s, 0,
             s.Format("%s%s", morvane::testing::Null<const char>(), "")),
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
  s.Format("%s", "");                    // the empty text
  s.Format("%s%f", x1016.c_str(), 0.5);  // ends at the scratch area's end
  EXPECT_EQ(morvane::testing::Allocations() - before, 3);
  EXPECT_EQ(Buffer(s), x1016 + "0.500000\0"s);
  before = morvane::testing::Allocations();
  s.Format("%s%f%s", head.c_str(), 0.25, q.c_str());  // areas of 2048, 6028
  EXPECT_EQ(morvane::testing::Allocations() - before, 3);
  EXPECT_EQ(Buffer(s), head + "0.250000" + q + '\0');
}

// At most 1024 format positions are scanned; a '%' at position 1023 still
// takes its letter at 1024.
TEST(XStringFormat, ScansAtMost1024FormatPositions) {
  const std::string x1023(1023, 'x');
  XString s;
  EXPECT_EQ(Buffer(s.Format((x1023 + "yz%d").c_str(), 7)), x1023 + "y\0"s);
  EXPECT_EQ(Buffer(s.Format((x1023 + "%dz").c_str(), 7)), x1023 + "7\0"s);
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

// A value as text: an XString by its buffer, anything else as a stream
// writes it.
template <class T>
std::string Text(const T& value) {
  std::ostringstream out;
  out << value;
  return out.str();
}
std::string Text(const XString& s) { return Buffer(s); }

// A call, written once for a string and once for a const string, and its
// answer as text.
struct Answer {
  const char* code;
  std::string expected;
  std::string (*plain)(XString&);
  std::string (*constant)(const XString&);
};
// clang-format off
#define ANSWER(expected, ...)                                  \
  {#__VA_ARGS__, expected, [](XString& s) { return Text(__VA_ARGS__); }, \
   [](const XString& s) { return Text(__VA_ARGS__); }}
// clang-format on

// Every member that changes nothing answers alike on a const string. The
// string holds b/c.d and counts a zero after it.
TEST(XStringModern, ConstOverloadsAnswerAsTheOriginals) {
  // clang-format off
  const Answer answers[] = {
      ANSWER("b/c.d", s.GetPtr()),
      ANSWER("6", s.Length()),
      ANSWER("/", s[1]),
      ANSWER("b/c.d", static_cast<const char*>(s)),
      ANSWER("1", static_cast<const void*>(s) == s.GetPtr()),
      ANSWER("1", s == "b/c.d"),             ANSWER("0", s == "b"),
      ANSWER("1", s.CMP("b/c.d")),           ANSWER("0", s.CMP("b/c")),
      ANSWER("1", s == s),                   ANSWER("0", s == XString("b")),
      ANSWER("2", s.Find(1, "c")),           ANSWER("-1", s.Find(3, "c")),
      ANSWER("1", s.ReverseFind(s.Length(), "/")),
      ANSWER("/c.\0"s, s.Sub(1, 3)),
      ANSWER("b/c.d+\0"s, s + "+"),
      ANSWER("b/c.db/c.d\0"s, s + s),
      ANSWER("b/c.d!\0"s, s + '!'),
      ANSWER("1", &s.SplitPath(nullptr, nullptr, nullptr, nullptr) == &s),
      ANSWER("1", &s.Tokenize(nullptr, "/") == &s)};
  // clang-format on
  for (const Answer& a : answers) {
    XString s = WithZero("b/c.d");
    EXPECT_EQ(a.plain(s), a.expected) << a.code;
    EXPECT_EQ(a.constant(s), a.expected) << "const: " << a.code;
  }
}

// The six comparisons of `l` with `r`, as "==1 !=0 <0 <=1 >0 >=1".
template <class L, class R>
std::string Comparisons(L&& l, R&& r) {
  std::ostringstream out;
  out << "==" << (l == r) << " !=" << (l != r) << " <" << (l < r)
      << " <=" << (l <= r) << " >" << (l > r) << " >=" << (l >= r);
  return out.str();
}

// What Comparisons gives for an order: -1 before, 0 equal, 1 after.
std::string Expected(int order) { return Comparisons(order, 0); }

// An XString, const or not and with a counted zero or not, compared with
// each type on either side, answers by the texts up to their first zero
// byte, the bytes as unsigned values; a null C string is the empty text.
TEST(XStringModern, ComparesTheTextsWithEveryType) {
  const struct {
    const char* left;
    std::string right;
    int order;
  } cases[] = {{"ab", "ab", 0},     {"ab", "ac", -1},   {"ab", "a", 1},
               {"", "a", -1},       {"B", "a", -1},     {"z", "\xE9", -1},
               {"ab", "ab\0c"s, 0}, {"ab\xE9", "ab", 1}};
  for (const auto& [left, right, order] : cases) {
    const std::string label = left + " vs "s + testing::PrintToString(right);
    std::string_view view = right;
    XString other(right.c_str());
    const char* text = right.c_str();
    auto check = [&, order = order](auto& s) {
      EXPECT_EQ(Comparisons(s, text), Expected(order)) << label;
      EXPECT_EQ(Comparisons(text, s), Expected(-order)) << label;
      EXPECT_EQ(Comparisons(s, view), Expected(order)) << label;
      EXPECT_EQ(Comparisons(view, s), Expected(-order)) << label;
      EXPECT_EQ(Comparisons(s, other), Expected(order)) << label;
      EXPECT_EQ(Comparisons(other, s), Expected(-order)) << label;
    };
    XString plain(left), counted = WithZero(left);
    for (XString* s : {&plain, &counted}) {
      check(*s);
      check(std::as_const(*s));
    }
  }
  EXPECT_EQ(Comparisons(XString(), Null()), Expected(0));
  EXPECT_EQ(Comparisons(Null(), XString("a")), Expected(-1));
}

// Keys and sort order come from the comparisons, with no comparator.
TEST(XStringModern, OrdersStandardContainersByTheTexts) {
  std::set<XString> set{XString("b"), WithZero("a"), XString("a"),
                        XString("B")};
  std::map<XString, int> map{{XString("b"), 1}, {XString("a"), 2}};
  std::vector<XString> sorted{XString("b"), XString("\xE9"), XString("a")};
  std::sort(sorted.begin(), sorted.end());
  std::string got;
  for (const XString& s : set) got += std::string(s) + "|";
  for (const auto& [key, value] : map) got += std::string(key) + "|";
  for (const XString& s : sorted) got += std::string(s) + "|";
  EXPECT_EQ(got, "B|a|b|a|b|a|b|\xE9|");
}

// Each side up to its first zero byte; a prepended char is counted as
// operator+=(char) counts it, so a zero one reads as the text with one more
// in Length().
TEST(XStringModern, ConcatenatesWithEveryType) {
  // clang-format off
  ExpectChanges({
      CHANGE("cd", "abcd"s, 0, s = "ab" + s),
      CHANGE("cd", "abcd"s, 0, const XString c = s; s = "ab" + c),
      CHANGE("cd", "abcd"s, 0, s = std::string("ab") + s),
      CHANGE("cd", "cdab"s, 0, const XString c = s; s = c + std::string("ab")),
      CHANGE("cd", "abcd"s, 0, s = std::string_view("ab\0x", 4) + s),
      CHANGE("cd", "cdab"s, 0, s = s + std::string_view("ab\0x", 4)),
      CHANGE("cd", "xcd"s, 0, s = 'x' + s),
      CHANGE("cd", "cd\0"s, 0, const XString c = s; s = '\0' + c),
      CHANGE("cd", "cd"s, 0, s = Null() + s),
      CHANGE("cd", "cdcd"s, 0, s = s + WithZero("cd"))});
  // clang-format on
}

// size(), empty() and the iterators count Length(), a counted zero included,
// while == reads the text up to its first zero.
TEST(XStringModern, ContainerFaceCountsTheCountedCharacters) {
  const XString zero = WithZero("ab"), empty = WithZero("");
  EXPECT_EQ(std::string(zero.begin(), zero.end()), "ab\0"s);
  EXPECT_EQ(std::string(zero.cbegin(), zero.cend()), "ab\0"s);
  EXPECT_EQ(zero.size(), 3u);
  EXPECT_EQ(zero.data(), zero.GetPtr());
  EXPECT_EQ(zero.c_str(), zero.GetPtr());
  EXPECT_TRUE(XString().empty());
  EXPECT_FALSE(XString("a").empty());
  EXPECT_FALSE(empty.empty());
  EXPECT_TRUE(empty == "");
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
