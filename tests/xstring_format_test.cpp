#include <gtest/gtest.h>
#include <morvane/XString.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

// Counts the program's global allocations while a test asks for it. The
// shared library resolves operator new to these replacements too.
namespace {
bool g_counting = false;
int g_allocations = 0;

void* CountedAllocate(std::size_t size) {
  if (g_counting) ++g_allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return CountedAllocate(size); }
void* operator new[](std::size_t size) { return CountedAllocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

std::string Text(XString& s) { return std::string(s.GetPtr()); }

void ExpectText(XString& s, const std::string& expected) {
  EXPECT_EQ(Text(s), expected);
  EXPECT_EQ(s.Length(), static_cast<int>(expected.size()));
}

unsigned int FloatBits(double value) {
  const float narrowed = static_cast<float>(value);
  unsigned int bits;
  std::memcpy(&bits, &narrowed, sizeof bits);
  return bits;
}

std::string Reference(const char* format, int value) {
  char out[64];
  std::snprintf(out, sizeof out, format, value);
  return out;
}

std::string Reference(const char* format, double value) {
  char out[512];
  std::snprintf(out, sizeof out, format, value);
  return out;
}

// --- Odd formats -------------------------------------------------------------

struct OddCase {
  const char* format;
  const char* expected;
};

// Every case gets the arguments 42 and 7; a case uses as many as it converts.
TEST(XStringFormat, OddFormatsTable) {
  const OddCase cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"100%%", "100%"},
      {"50%", "50"},
      {"%", ""},
      {"%%%", "%"},
      {"%5d", "5d"},
      {"%5d %d", "5d 42"},  // the skipped width consumed nothing
      {"%ld", "ld"},
      {"%u", "u"},
      {"%e", "e"},
      {"%p", "p"},
      {"%D%S%G%F%I%C", "DSGFIC"},
      {"%-d", "-d"},
      {"%.%d", ".42"},
      {"%d%d", "427"},
      {"a%db%", "a42b"},
      {"%\\%d", "\\42"},
  };
  for (const OddCase& c : cases) {
    XString s("old");
    s.Format(c.format, 42, 7);
    EXPECT_EQ(Text(s), c.expected) << "format '" << c.format << "'";
    EXPECT_EQ(s.Length(), static_cast<int>(std::strlen(c.expected)));
  }
}

TEST(XStringFormat, SpecifiedConversions) {
  XString s;
  ExpectText(s.Format("%i", -7), "-7");
  ExpectText(s.Format("%x", -1), "ffffffff");
  ExpectText(s.Format("%X", 255), "FF");
  ExpectText(s.Format("%g", 0.5), "0.5");
  ExpectText(s.Format("%f", 0.5), "0.500000");
  ExpectText(s.Format("%c%c", 'h', 'i'), "hi");
  ExpectText(s.Format("%s\\%s", "plugins", "a.dll"), "plugins\\a.dll");
  ExpectText(s.Format("%s\\%s", "c:/lib/", "a.dll"), "c:/lib/\\a.dll");
  ExpectText(s.Format("%s", static_cast<const char*>(nullptr)), "(null)");
  ExpectText(s.Format("%s", ""), "");
}

// A double takes the room of two ints in the argument list.
TEST(XStringFormat, ArgumentsAfterDoubleAreFound) {
  XString s;
  ExpectText(s.Format("%d %g %d", 1, 2.5, 3), "1 2.5 3");
  ExpectText(s.Format("%f|%s|%c", 1.25, "x", 'y'), "1.250000|x|y");
}

TEST(XStringFormat, IntegersRenderAsPrintfDoes) {
  const int values[] = {0,       1,         -1,      9,       10,
                        -10,     255,       4096,    65535,   -65536,
                        1000000, 123456789, INT_MAX, INT_MIN, INT_MIN + 1};
  const char* formats[] = {"%d", "%i", "%x", "%X"};
  XString s;
  for (const char* format : formats) {
    for (int value : values) {
      s.Format(format, value);
      EXPECT_EQ(Text(s), Reference(format, value))
          << format << " with " << value;
    }
  }
}

TEST(XStringFormat, FloatsRenderAsPrintfDoes) {
  const double values[] = {0.0,      -0.0,      1.0,
                           -2.5,     1e-5,      1e15,
                           1e300,    -1e308,    3.14159265358979,
                           HUGE_VAL, -HUGE_VAL, std::nan("")};
  const char* formats[] = {"%g", "%f"};
  XString s;
  for (const char* format : formats) {
    for (double value : values) {
      s.Format(format, value);
      EXPECT_EQ(Text(s), Reference(format, value))
          << format << " with " << value;
    }
  }
}

// A zero character ends the visible text; the rest is still processed.
TEST(XStringFormat, ZeroCharacterEndsTextButArgumentsAreConsumed) {
  XString s;
  ExpectText(s.Format("a%cb", 0), "a");
  s.Format("a%cb%d", 0, 9);
  ExpectText(s, "a");
  EXPECT_EQ(s.lastArg, 9u);
}

// --- lastArg -----------------------------------------------------------------

TEST(XStringFormat, LastArgHoldsEachConversionsValue) {
  XString s;
  s.Format("%d", -5);
  EXPECT_EQ(s.lastArg, 0xFFFFFFFBu);
  s.Format("%i", 77);
  EXPECT_EQ(s.lastArg, 77u);
  s.Format("%x", 0xCAFE);
  EXPECT_EQ(s.lastArg, 0xCAFEu);
  s.Format("%X", -2);
  EXPECT_EQ(s.lastArg, 0xFFFFFFFEu);
  const char* text = "pointer";
  s.Format("%s", text);
  EXPECT_EQ(s.lastArg,
            static_cast<unsigned int>(reinterpret_cast<uintptr_t>(text)));
  s.Format("%g", 2.5);
  EXPECT_EQ(s.lastArg, FloatBits(2.5));
  s.Format("%f", 0.1);  // narrowed: the float's bits, not the double's
  EXPECT_EQ(s.lastArg, FloatBits(0.1));
  s.Format("%d %d", 1, 2);
  EXPECT_EQ(s.lastArg, 2u);
}

TEST(XStringFormat, CharacterChangesOnlyLowestByteOfLastArg) {
  XString s;
  s.Format("%d", 0x12345678);
  s.Format("%c", 0x7A1AB);  // only the byte 0xAB counts
  EXPECT_EQ(s.lastArg, 0x123456ABu);
  EXPECT_EQ(static_cast<unsigned char>(s[0]), 0xABu);
  ExpectText(s.Format("%c", -0x100 + 'q'), "q");
}

TEST(XStringFormat, NonConversionLeavesLastArg) {
  XString s;
  s.Format("%d", 31);
  s.Format("%5d%%%u", 99);
  EXPECT_EQ(s.lastArg, 31u);
}

// --- Allocation
// ----------------------------------------------------------------

template <class Call>
int AllocationsOf(Call call) {
  XString s("previous text");
  g_allocations = 0;
  g_counting = true;
  call(s);
  g_counting = false;
  return g_allocations;
}

TEST(XStringFormat, OneAllocationPerCallWhenTextFitsScratch) {
  EXPECT_EQ(AllocationsOf([](XString& s) {
              s.Format("%d %s %x %g", -12, "name", 0xBEEF, 1.5);
            }),
            1);
  EXPECT_EQ(AllocationsOf([](XString& s) { s.Format(""); }), 1);
  const std::string x1000(1000, 'x');
  EXPECT_EQ(AllocationsOf([&](XString& s) { s.Format("%s", x1000.c_str()); }),
            1);
  // 1016 characters, then a float at the scratch area's very end.
  const std::string x1016(1016, 'x');
  EXPECT_EQ(
      AllocationsOf([&](XString& s) { s.Format("%s%f", x1016.c_str(), 0.5); }),
      1);
}

// --- Self reference
// -----------------------------------------------------------

TEST(XStringFormat, FormatAndArgumentsMayPointIntoTheString) {
  XString s("ab");
  ExpectText(s.Format("%s%s", s.GetPtr(), s.GetPtr()), "abab");
  XString t("a%%b");
  ExpectText(t.Format(t.GetPtr()), "a%b");
  XString u("<%s>");
  ExpectText(u.Format(u.GetPtr(), u.GetPtr()), "<<%s>>");
}

// --- Limits
// ---------------------------------------------------------------------

TEST(XStringFormat, ScanStopsAfter1024FormatPositions) {
  XString s;
  const std::string a1024(1024, 'a');
  ExpectText(s.Format(a1024.c_str()), a1024);
  ExpectText(s.Format((a1024 + "b").c_str()), a1024);
  ExpectText(s.Format(std::string(100 * 1024, 'z').c_str()),
             std::string(1024, 'z'));
}

TEST(XStringFormat, ConversionStartingAtLastScannedPositionCompletes) {
  XString s;
  const std::string a(1024, 'a');
  // '%' at 1022: its letter at 1023, then the limit.
  ExpectText(s.Format((a.substr(0, 1022) + "%db").c_str(), 7),
             a.substr(0, 1022) + "7");
  // '%' at 1023: the letter at 1024 is still taken.
  ExpectText(s.Format((a.substr(0, 1023) + "%db").c_str(), 8),
             a.substr(0, 1023) + "8");
  ExpectText(s.Format((a.substr(0, 1023) + "%").c_str()), a.substr(0, 1023));
  // '%' at 1024 is never reached: no argument is fetched.
  s.Format("%d", 5);
  ExpectText(s.Format((a + "%d").c_str(), 9), a);
  EXPECT_EQ(s.lastArg, 5u);
}

// Text longer than the scratch area is kept whole.
TEST(XStringFormat, LongOutputIsKeptWhole) {
  XString s;
  const std::string long_text(2000, 'q');
  ExpectText(s.Format("%s", long_text.c_str()), long_text);
  ExpectText(s.Format("<%s|%s>%d", long_text.c_str(), long_text.c_str(), 12),
             "<" + long_text + "|" + long_text + ">12");
  const std::string head(1020, 'h');
  ExpectText(s.Format("%s%f", head.c_str(), 1e300),
             head + Reference("%f", 1e300));
}

}  // namespace
