// XString with the standard library, and XDllLoader for a plug-in host, as
// a project built against morvane uses them: comparisons and concatenation
// with the standard string types, the standard container face, Format
// checked by its own rules (at compile time in C++20), and the loader's
// symbol look-up and failure reason. Built once as C++17 and once as C++20;
// it checks every answer, and a wrong one makes it exit with 1.
//
//   faces <the plug-in built from plugin.cpp>
#include <morvane/XDllLoader.h>
#include <morvane/XString.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>
#if __cplusplus >= 202002L
#include <ranges>
#endif

// C++20 code gets the Format that checks its format at compile time.
static_assert(MORVANE_FORMAT_CHECKED == (__cplusplus >= 202002L));

namespace {

int failures = 0;

void Check(const char* what, bool ok) {
  if (ok) return;
  std::printf("FAILED: %s\n", what);
  ++failures;
}

void ExpectCount(const char* what, long got, long want) {
  if (got == want) return;
  std::printf("FAILED: %s: %ld, not %ld\n", what, got, want);
  ++failures;
}

// Checks that `got` is an XString whose Length() characters are `want`.
template <class T>
void Expect(const char* what, const T& got, std::string_view want) {
  static_assert(std::is_same_v<T, XString>, "gives an XString");
  const std::string_view counted(got.GetPtr(), got.size());
  if (counted == want) return;
  std::printf("FAILED: %s gives \"%s\" (%d characters), not \"%.*s\"\n", what,
              got.GetPtr(), got.Length(), static_cast<int>(want.size()),
              want.data());
  ++failures;
}

// The answer of all twelve comparisons between `a` and `b` (const or not, as
// given), both ways round: "<", "==" or ">" when they agree, else
// "inconsistent".
template <class A, class B>
std::string_view Compare(A&& a, B&& b) {
  const bool less = a < b;
  const bool equal = a == b;
  const bool greater = a > b;
  const bool agree = less + equal + greater == 1 && (a != b) == !equal &&
                     (a <= b) == !greater && (a >= b) == !less &&
                     (b > a) == less && (b == a) == equal &&
                     (b < a) == greater && (b != a) == !equal &&
                     (b >= a) == !greater && (b <= a) == !less;
  if (!agree) return "inconsistent";
  return less ? "<" : equal ? "==" : ">";
}

// 1. Comparisons, by the texts (never the addresses), with the string on
// either side; so XString is a key of std::map and std::set as it is.
void Comparisons() {
  const XString apple("apple");
  XString copy(apple);
  const std::string pear = "pear";
  struct {
    const char* pair;
    std::string_view got, want;
  } const rows[] = {
      {"XString, XString", Compare(apple, XString("pear")), "<"},
      {"XString, const char*", Compare(copy, apple.c_str()), "=="},
      {"XString, string literal", Compare(apple, "apple"), "=="},
      {"XString, std::string", Compare(apple, pear), "<"},
      {"XString, std::string_view", Compare(apple, std::string_view("ape")),
       ">"},
      {"bytes are unsigned", Compare(XString("z"), "\xE9"), "<"},
      {"a null C string reads as \"\"",
       Compare(XString(), static_cast<const char*>(nullptr)), "=="},
  };
  for (const auto& row : rows) {
    if (row.got == row.want) continue;
    std::printf("FAILED: comparing %s: %.*s, not %.*s\n", row.pair,
                static_cast<int>(row.got.size()), row.got.data(),
                static_cast<int>(row.want.size()), row.want.data());
    ++failures;
  }

  std::map<XString, int> counts;
  for (const char* word : {"pear", "apple", "pear", "Fig"}) ++counts[word];
  XString listed;
  for (const auto& [word, count] : counts)
    listed += word + '=' + std::to_string(count) + ' ';
  Expect("std::map<XString, int>", listed, "Fig=1 apple=1 pear=2 ");
  Check("std::set<XString> finds by text",
        std::set<XString>{XString("b"), XString("a")}.count(XString("a")) == 1);
  std::vector<XString> words{XString("b"), XString("c"), XString("a")};
  std::sort(words.begin(), words.end());
  Expect("std::sort, first", words.front(), "a");
}

// 2. Concatenation: each of these gives an XString.
void Concatenation() {
  const XString mid("mid");
  const std::string text = "txt";
  Expect("const char* + XString", "<" + mid, "<mid");
  Expect("XString + const char*", mid + ">", "mid>");
  Expect("char + XString", '[' + mid, "[mid");
  Expect("XString + char", mid + ']', "mid]");
  Expect("std::string + XString", text + mid, "txtmid");
  Expect("XString + std::string", mid + text, "midtxt");
  Expect("std::string_view + XString", std::string_view("sv") + mid, "svmid");
  Expect("XString + std::string_view", mid + std::string_view("sv"), "midsv");
  Expect("XString + XString", mid + mid, "midmid");
}

// 3. The read-only container face: Length() characters, a zero appended with
// += '\0' among them, while comparisons read the text up to that zero.
void ContainerFace() {
  XString word("level");
  Check("a palindrome reads the same backwards",
        std::equal(word.cbegin(), word.cend(),
                   std::make_reverse_iterator(word.cend())));
  word += '\0';
  ExpectCount("size() counts the appended zero", static_cast<long>(word.size()),
              6);
  Check("the text still ends before it", word == "level");
  Check("data() is the buffer", word.data() == word.GetPtr());
  Check("c_str() is the buffer", word.c_str() == word.GetPtr());
  std::string walked;
  for (char c : word) walked += c;
  Check("range-for walks the counted characters, the zero too",
        walked == std::string_view("level\0", 6));
  Check("empty() asks", !word.empty());
  Check("an XString() is empty()", XString().empty());
  Check("a counted zero alone is not empty()", !(XString() += '\0').empty());
#if __cplusplus >= 202002L
  static_assert(std::ranges::contiguous_range<XString>);
  ExpectCount("std::ranges::count", std::ranges::count(word, 'l'), 2);
#endif
}

// A printf-style function of the caller's own, passing its arguments on.
XString Describe(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  XString text;
  text.FormatV(format, args);
  va_end(args);
  return text;
}

// 4. Format reads exactly %i %d %x %X %s %c %g %f and "%%". In C++20 a
// literal format is checked against the arguments while compiling: a wrong
// count or kind, or a form Format does not read ("%5d", "%ld"), does not
// compile. A format made at run time goes in as RuntimeFormat, unchecked.
void Formatting() {
  XString s;
  Expect(
      "Format",
      s.Format("%s: %d %x %X, %c, %g, 100%%", "sums", -3, 255u, 255, 'k', 2.5),
      "sums: -3 ff FF, k, 2.5, 100%");
  const std::string made_at_run_time = std::string("%5d") + "|%d";
  Expect("Format(RuntimeFormat) reads \"%5d\" as text",
         s.Format(XString::RuntimeFormat(made_at_run_time.c_str()), 8), "5d|8");
  Expect("FormatV", Describe("%s=%i", "n", 12), "n=12");
}

// 5. The loader: a function that a plug-in exports, and why a file that is
// no plug-in would not load.
void Loader(const char* plugin_path) {
  constexpr char kTextFile[] = "notes.txt";
  XDllLoader* loader = XDllLoader::GetLoader();
  HINSTANCE plugin = loader->LoadLibraryA(plugin_path);
  if (plugin == nullptr) {
    std::printf("FAILED: %s does not load: %s\n", plugin_path,
                XDllLoader::LastError());
    ++failures;
  } else {
    Expect("LastError() after a load", XString(XDllLoader::LastError()), "");
    using Answer = int (*)();
    auto answer = reinterpret_cast<Answer>(
        XDllLoader::GetSymbol(plugin, "consumer_plugin_answer"));
    Check("the plug-in exports its function", answer != nullptr);
    if (answer != nullptr) ExpectCount("the plug-in's answer", answer(), 42);
    Check("a missing symbol is null",
          XDllLoader::GetSymbol(plugin, "no_such_symbol") == nullptr);
  }

  std::FILE* file = std::fopen(kTextFile, "w");
  Check("the text file is written", file != nullptr);
  if (file != nullptr) {
    std::fputs("not a plug-in\n", file);
    std::fclose(file);
  }
  Check("a text file does not load",
        loader->LoadLibraryA(kTextFile) == nullptr);
  const char* reason = XDllLoader::LastError();
  if (std::strstr(reason, kTextFile) == nullptr) {
    std::printf("FAILED: the reason \"%s\" does not name %s\n", reason,
                kTextFile);
    ++failures;
  }
  std::remove(kTextFile);
  loader->KillLoader();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: faces <plug-in>\n");
    return 2;
  }
  Comparisons();
  Concatenation();
  ContainerFace();
  Formatting();
  Loader(argv[1]);
  std::printf("faces, C++%ld: %s\n", __cplusplus / 100 % 100,
              failures == 0 ? "every answer right" : "wrong answers");
  return failures == 0 ? 0 : 1;
}
