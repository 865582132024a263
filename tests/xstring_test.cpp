// XString: which changes keep the buffer and the exact size of every new
// one, moves, counted zero characters, the allocations of ReplaceAll and
// Format, lastArg, and the type in a modern user's code. The string fuzz
// harnesses, whose seeds the suite replays (xstring_*_fuzz_seeds), hold the
// searches, edits, comparisons, concatenation, conversions and Format to
// models. examples/faces (faces_cxx17 and faces_cxx20 in the suite, and
// built against each installed package by CI) keys std::map and std::set by
// XString, sorts it and walks its container face.
#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <cstdarg>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "support/allocation_counter.h"

#if MORVANE_TEST_WITH_FMT
#include <morvane/fmt.h>
#endif

// Lookalike overloads that must neither be ambiguous nor pick a surprise.
static_assert(std::is_nothrow_move_constructible_v<XString>);
static_assert(!std::is_convertible_v<std::string_view, XString>);
static_assert(!std::is_convertible_v<const XString&, void*>);

namespace {

using namespace std::string_literals;  // "ab\0"s keeps its counted zero
using morvane::testing::Allocations;

// The whole buffer as far as Length() says, and its terminator.
std::string Buffer(const XString& s) {
  return std::string(s.GetPtr(), static_cast<size_t>(s.Length()) + 1);
}

// A null C string the optimiser cannot see (a known null argument draws
// -Wnonnull warnings).
const char* Null() {
  static const char* volatile null = nullptr;
  return null;
}

// A string whose Length() counts a zero after `text`: equal to `text`.
XString WithZero(const char* text) { return std::move(XString(text) += '\0'); }

// What a change does with the buffer: keeps it, or installs a new one of
// exactly Length() + 1 bytes, the change's last allocation; not checked
// after several changes, whose buffers the allocator may hand back.
enum Buffering { kKept, kNew, kAny };

// A change of a string made from `initial`, and the buffer it leaves (the
// terminator included).
using Change = std::tuple<const char*, const char*, void (*)(XString&),
                          std::string, Buffering>;
// clang-format off
#define CHANGE(initial, buffer, buffering, ...) \
  {#__VA_ARGS__, initial, [](XString& s) { __VA_ARGS__; }, buffer + "\0"s, \
   buffering}
// clang-format on

void ExpectChanges(std::initializer_list<Change> changes) {
  for (const auto& [code, initial, run, buffer, buffering] : changes) {
    XString s(initial);
    const char* before = s.GetPtr();
    run(s);
    EXPECT_EQ(Buffer(s), buffer) << initial << ": " << code;
    if (buffering != kAny) {
      EXPECT_EQ(s.GetPtr() == before, buffering == kKept) << code;
    }
    if (buffering == kNew) {
      EXPECT_EQ(morvane::testing::LastAllocationSize(), s.size() + 1) << code;
    }
  }
}

// No units, and then units that a count from the wrong start would take.
const unsigned short kNoUnits[] = {0, 65, 0};

// --- Buffers ----------------------------------------------------------------

// Assigning the same text (null reads as "") keeps the buffer, and so does
// moving a string out and back; every other change installs a new buffer.
// A move leaves an empty string in a new buffer; move assignment swaps.
TEST(XStringCore, ChangesInstallAnExactBufferUnlessDocumentedToKeepIt) {
  // clang-format off
  ExpectChanges({
      CHANGE("ab", "ab"s, kKept, s = "ab"),
      CHANGE("", ""s, kKept, s = Null()),
      CHANGE("ab", ""s, kNew, s = Null()),
      CHANGE("ab", "ab"s, kNew, s += Null()),
      CHANGE("ab", ""s, kNew, s = XString()),
      CHANGE("", ""s, kNew, s.Empty()),
      CHANGE(" ab ", "ab"s, kNew, s.Trim()),
      CHANGE(" ", ""s, kNew, s.Trim()),
      CHANGE(" ab", "ab"s, kNew, s.Trim()),
      CHANGE("ab ", "ab"s, kNew, s.Trim()),
      CHANGE("ab", "abx"s, kNew, s += 'x'),
      CHANGE("ab", "b"s, kNew, s.Delete(0, 0)),
      CHANGE("abc", "a"s, kNew, s.Delete(1, 99)),
      CHANGE("ab", "aXYb"s, kNew, s.Insert(1, "XY")),
      CHANGE("a,b,c", "a.b,c"s, kNew, s.Replace(0, ",", ".")),
      CHANGE("ab", ""s, kNew, s.GetFromUnicode(kNoUnits)),
      CHANGE("ab", "ab"s, kKept, XString to(std::move(s)); s = std::move(to)),
      CHANGE("ab", ""s, kNew, XString to(std::move(s))),
      CHANGE("ab", "cd|ab"s, kAny, XString o("cd"); s = std::move(o);
             s = s + "|" + o)});
  // clang-format on
}

// A zero appended with operator+=(char) is counted, and searched and edited
// as any byte (a b 0 x has length 4), but the text, which copies, additions,
// Sub and comparisons read, ends at it; what is appended after it follows
// the visible text.
TEST(XStringCore, CountedZeroIsEditedAsAByteAndEndsTheText) {
  // clang-format off
  ExpectChanges({
      CHANGE("ab", "ab\0"s, kNew, s += '\0'),
      CHANGE("ab", "abcd\0"s, kAny, (s += '\0') += "cd"),
      CHANGE("ab", "abc"s, kNew, s += XString("c") += '\0'),
      CHANGE("ab", "ab"s, kNew, s = s + '\0'),
      CHANGE("ab", "abab"s, kNew, s = s + WithZero("ab")),
      CHANGE("ab", "ab"s, kAny, s = (s += '\0')),
      CHANGE("", "ab"s, kNew, const XString c = WithZero("ab"); s = XString(c)),
      CHANGE("", "cd\0"s, kAny, XString to(WithZero("cd")); s = std::move(to)),
      CHANGE("ab", "ab"s, kAny, (s += '\0').Trim()),
      CHANGE("xy", "\0ab"s, kAny, (s += '\0').Insert(3, "abxyxy");
             s.ReplaceAll(0, s.GetPtr(), "")),
      CHANGE("a--b", "abb\0b"s, kAny, (s += '\0').Insert(5, "--");
             s.ReplaceAll(0, "--", s.GetPtr() + 3)),
      CHANGE("ab", "3 3 1 0"s, kAny, (s += '\0') += 'x';
             s.Format("%d %d %d %d", s.Find(0, "x"), s.ReverseFind(4, "x"),
                      s == "ab", s.CMP("abx"))),
      CHANGE("ab", "ab"s, kAny, (s += '\0') += 'x'; s = s.Sub(0, 3)),
      CHANGE("ab", "b\0ZZy"s, kAny, (s += '\0') += 'x';
             s.Delete(0, 0).Insert(9, "y").Replace(0, "x", "ZZ"))});
  // clang-format on
}

// ReplaceAll builds its result in one new buffer. A result longer than the
// largest int (also 2^32 + 2^16, which a 32-bit count wraps to 2^16) leaves
// the string and its buffer alone.
TEST(XStringEdit, ReplaceAllMakesOneBufferOrLeavesTheString) {
  const std::string a16(1 << 16, 'a');
  const std::string over[] = {std::string((1 << 15) + 1, 'b'),
                              std::string((1 << 16) + 1, 'b')};
  const struct {
    const char *text, *what, *with, *result;
    int allocations;
  } cases[] = {{"aXabab", "ab", "aab", "aXaabaab", 1},
               {"aaaa", "aa", "b", "bb", 1},
               {a16.c_str(), "a", over[0].c_str(), a16.c_str(), 0},
               {a16.c_str(), "a", over[1].c_str(), a16.c_str(), 0}};
  for (const auto& [text, what, with, result, allocations] : cases) {
    XString s(text);
    const char* const buffer = s.GetPtr();
    const int before = Allocations();
    s.ReplaceAll(0, what, with);
    const std::string row = what + " by "s + std::to_string(strlen(with));
    EXPECT_EQ(Allocations() - before, allocations) << row;
    EXPECT_EQ(Buffer(s), result + "\0"s) << row;
    EXPECT_EQ(s.GetPtr() == buffer, allocations == 0) << row;
  }
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

// A format known at run time renders the same through FormatV or as a
// RuntimeFormat; a null one gives the empty string. Only Format sets
// lastArg: new strings, copies and moves hold 0.
TEST(XStringFormat, RendersRuntimeFormatsAndKeepsLastArgToItself) {
  static const std::string runtime = "%d|%s|%5d";
  // clang-format off
  ExpectChanges({
      CHANGE("", "7|x|5d"s, kNew, FormatList(s, runtime.c_str(), 7, "x")),
      CHANGE("ab", ""s, kNew, FormatList(s, nullptr)),
      CHANGE("", "8|y|5d"s, kNew,
             s.Format(XString::RuntimeFormat(runtime.c_str()), 8, "y")),
      CHANGE("", "0 0 0 0"s, kAny, XString c(s.Format("%d", 7)), m(std::move(s));
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
  int before = Allocations();
  s.Format("%d %s %x %g", -12, "name", 0xBEEF, 1.5);
  s.Format("%s", "");                    // the empty text
  s.Format("%s%f", x1016.c_str(), 0.5);  // ends at the scratch area's end
  EXPECT_EQ(Allocations() - before, 3);
  EXPECT_EQ(Buffer(s), x1016 + "0.500000\0"s);
  before = Allocations();
  s.Format("%s%f%s", head.c_str(), 0.25, q.c_str());  // areas of 2048, 6028
  EXPECT_EQ(Allocations() - before, 3);
  EXPECT_EQ(Buffer(s), head + "0.250000" + q + '\0');
}

// --- In a modern user's code ------------------------------------------------

// The conversions answer alike on a const string: the buffer.
TEST(XStringModern, ConstConversionsGiveTheBuffer) {
  XString s("b/c.d");
  const XString& c = s;
  const void* const buffer = s.GetPtr();
  EXPECT_EQ(static_cast<const char*>(s), buffer);
  EXPECT_EQ(static_cast<const char*>(c), buffer);
  EXPECT_EQ(static_cast<void*>(s), buffer);
  EXPECT_EQ(static_cast<const void*>(c), buffer);
}

// The six comparisons of `l` with `r`, as "==1 !=0 <0 <=1 >0 >=1".
template <class L, class R>
std::string Comparisons(const L& l, const R& r) {
  std::ostringstream out;
  out << "==" << (l == r) << " !=" << (l != r) << " <" << (l < r)
      << " <=" << (l <= r) << " >" << (l > r) << " >=" << (l >= r);
  return out.str();
}

// What Comparisons gives for an order: -1 before, 0 equal, 1 after.
std::string Expected(int order) { return Comparisons(order, 0); }

// Each side is compared up to its first zero byte: a zero counted in
// Length(), or held by a std::string or a view.
TEST(XStringModern, ComparesTheTextsUpToTheirFirstZero) {
  const XString zero = WithZero("ab");
  const std::string ab0c = "ab\0c"s;
  const std::string_view b0a("b\0a", 3);
  EXPECT_EQ(Comparisons(zero, "ab"), Expected(0));
  EXPECT_EQ(Comparisons(zero, XString("ab")), Expected(0));
  EXPECT_EQ(Comparisons(zero, ab0c), Expected(0));
  EXPECT_EQ(Comparisons(ab0c, zero), Expected(0));
  EXPECT_EQ(Comparisons(zero, b0a), Expected(-1));
  EXPECT_EQ(Comparisons(b0a, zero), Expected(1));
  EXPECT_EQ(Comparisons(XString("b"), b0a), Expected(0));
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
