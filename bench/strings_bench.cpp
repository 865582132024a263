// Strings: XString::Find and ReverseFind, XString::Format, XStringBuf::Append,
// XString::Tokenize and XString::ReplaceAll, each next to the standard tool an
// application would reach for instead (for the searches: the C library's
// memmem, and std::string's and the standard searchers' as references).
#include <benchmark/benchmark.h>
#include <fmt/format.h>
#include <morvane/XString.h>
#include <morvane/XStringBuf.h>
#include <morvane/XVector.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "bench_data.h"

namespace morvane::bench {

const std::string& WordText() {
  static const std::string text = [] {
    static constexpr const char* kWords[] = {
        "the",    "of",     "and",   "to",      "in",     "is",     "was",
        "that",   "for",    "on",    "with",    "as",     "by",     "not",
        "one",    "never",  "need",  "needs",   "seed",   "lead",   "new",
        "linear", "system", "plug",  "library", "string", "buffer", "report",
        "memory", "leak",   "point", "segment", "under",  "anyone", "noodle"};
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kWords) - 1);
    std::string words;
    words.reserve(kMiB + 16);
    while (words.size() < kMiB) {
      words += kWords[pick(random)];
      words += ' ';
    }
    words.resize(kMiB);
    if (words.back() == ' ') words.back() = 'x';
    return words;
  }();
  return text;
}

namespace {

// --- Search over the 1 MiB text --------------------------------------------

// Words of the text from the first one that begins three quarters into it,
// as many as it takes for the phrase to occur there only.
const char* PresentPhrase() {
  static const std::string phrase = [] {
    const std::string& text = WordText();
    const std::size_t begin = text.find(' ', text.size() / 4 * 3) + 1;
    std::size_t end = begin;
    std::string words;
    do {
      end = text.find(' ', end + 1);
      words = text.substr(begin, end - begin);
    } while (text.find(words) != begin ||
             text.find(words, begin + 1) != std::string::npos);
    return words;
  }();
  return phrase.c_str();
}

// The three searches: the pattern, and whether it occurs (once) in the text.
struct Search {
  const char* pattern;
  bool present;
};
const Search kNeedle = {kAbsentWord, false};
const Search kPhrase = {kAbsentPhrase, false};
Search Present() { return {PresentPhrase(), true}; }

// Whether the text holds the pattern as the case says, and our searches in
// both directions find that (once) or nothing.
bool Holds(benchmark::State& state, const Search& search) {
  const std::string& text = WordText();
  const std::size_t at = text.find(search.pattern);
  const bool once = text.find(search.pattern, at + 1) == std::string::npos;
  const int expected = at == std::string::npos ? -1 : static_cast<int>(at);
  XString ours(text.c_str());
  if ((at != std::string::npos) == search.present && once &&
      ours.Find(0, search.pattern) == expected &&
      ours.ReverseFind(ours.Length(), search.pattern) == expected) {
    return true;
  }
  state.SkipWithError("the search text does not hold the pattern as meant");
  return false;
}

void SetText(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kMiB);
}

void FindOurs(benchmark::State& state, Search search) {
  if (!Holds(state, search)) return;
  XString text(WordText().c_str());
  for (auto _ : state) {
    int found = text.Find(0, search.pattern);
    benchmark::DoNotOptimize(found);
  }
  SetText(state);
}

void ReverseFindOurs(benchmark::State& state, Search search) {
  if (!Holds(state, search)) return;
  XString text(WordText().c_str());
  for (auto _ : state) {
    int found = text.ReverseFind(text.Length(), search.pattern);
    benchmark::DoNotOptimize(found);
  }
  SetText(state);
}

void FindMemmem(benchmark::State& state, Search search) {
  if (!Holds(state, search)) return;
  const std::string& text = WordText();
  const std::size_t size = std::strlen(search.pattern);
  for (auto _ : state) {
    const void* found =
        ::memmem(text.data(), text.size(), search.pattern, size);
    benchmark::DoNotOptimize(found);
  }
  SetText(state);
}

void FindStd(benchmark::State& state) {
  if (!Holds(state, kNeedle)) return;
  const std::string& text = WordText();
  for (auto _ : state) {
    std::size_t found = text.find(kAbsentWord);
    benchmark::DoNotOptimize(found);
  }
  SetText(state);
}

void ReverseFindStd(benchmark::State& state) {
  if (!Holds(state, kNeedle)) return;
  const std::string& text = WordText();
  for (auto _ : state) {
    std::size_t found = text.rfind(kAbsentWord);
    benchmark::DoNotOptimize(found);
  }
  SetText(state);
}

// The searcher is built once, as a program searching often would keep it.
void FindHorspool(benchmark::State& state) {
  if (!Holds(state, kNeedle)) return;
  const std::string& text = WordText();
  const std::boyer_moore_horspool_searcher searcher(
      kAbsentWord, kAbsentWord + std::strlen(kAbsentWord));
  for (auto _ : state) {
    auto found = std::search(text.begin(), text.end(), searcher);
    benchmark::DoNotOptimize(found);
  }
  SetText(state);
}

// The floor for any forward scan: one memchr for a byte that is not there.
void FindMemchr(benchmark::State& state) {
  const std::string& text = WordText();
  for (auto _ : state) {
    const void* found = std::memchr(text.data(), '#', text.size());
    benchmark::DoNotOptimize(found);
  }
  SetText(state);
}

// --- Format: "%d %s %x %g" ---------------------------------------------------

constexpr char kFourConversions[] = "%d %s %x %g";

struct FormatArgs {
  int number;
  const char* name;
  unsigned int bits;
  double value;
};

constexpr std::size_t kFormatCases = 64;

const std::array<FormatArgs, kFormatCases>& FormatCases() {
  static const auto cases = [] {
    static constexpr const char* kNames[] = {"alpha", "plugins", "c:/lib/x.dll",
                                             "report", "segment-7"};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> number(-2000000, 2000000);
    std::uniform_int_distribution<unsigned int> bits;
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    std::array<FormatArgs, kFormatCases> made{};
    for (std::size_t i = 0; i < made.size(); ++i) {
      made[i] = {number(random), kNames[i % std::size(kNames)], bits(random),
                 value(random)};
    }
    return made;
  }();
  return cases;
}

void FormatOurs(benchmark::State& state) {
  const auto& cases = FormatCases();
  XString out;
  std::size_t i = 0;
  for (auto _ : state) {
    const FormatArgs& a = cases[i++ % kFormatCases];
    out.Format(kFourConversions, a.number, a.name, a.bits, a.value);
    benchmark::DoNotOptimize(out.text);
  }
}

void FormatSnprintf(benchmark::State& state) {
  const auto& cases = FormatCases();
  char buffer[1024];
  std::size_t i = 0;
  for (auto _ : state) {
    const FormatArgs& a = cases[i++ % kFormatCases];
    int size = std::snprintf(buffer, sizeof buffer, kFourConversions, a.number,
                             a.name, a.bits, a.value);
    benchmark::DoNotOptimize(size);
    benchmark::DoNotOptimize(buffer);
  }
}

// --- Appending 1,000,000 small pieces ---------------------------------------

constexpr int kPieces = 1000000;
constexpr const char* kKeys[] = {"x", "width",  "id", "count",
                                 "y", "height", "k",  "total"};
constexpr int kKeyMask = 7;

void AppendOurs(benchmark::State& state) {
  for (auto _ : state) {
    XStringBuf text;
    for (int i = 0; i < kPieces; ++i) {
      text.Append("%s=%d\n", kKeys[i & kKeyMask], i);
    }
    benchmark::DoNotOptimize(text.GetPtr());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPieces);
}

void AppendOstringstream(benchmark::State& state) {
  for (auto _ : state) {
    std::ostringstream text;
    for (int i = 0; i < kPieces; ++i) {
      text << kKeys[i & kKeyMask] << '=' << i << '\n';
    }
    benchmark::DoNotOptimize(&text);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPieces);
}

void AppendFmt(benchmark::State& state) {
  for (auto _ : state) {
    fmt::memory_buffer text;
    for (int i = 0; i < kPieces; ++i) {
      fmt::format_to(std::back_inserter(text), "{}={}\n", kKeys[i & kKeyMask],
                     i);
    }
    benchmark::DoNotOptimize(text.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPieces);
}

// --- Tokenizing a 1 MiB line at spaces --------------------------------------

constexpr char kSpace[] = " ";

void TokenizeOurs(benchmark::State& state) {
  XString line(WordText().c_str());
  std::size_t tokens_made = 0;
  for (auto _ : state) {
    XVector<XString> tokens;
    line.Tokenize(&tokens, kSpace);
    tokens_made = static_cast<std::size_t>(tokens.Count());
    benchmark::DoNotOptimize(tokens.items);
  }
  state.counters["tokens"] = static_cast<double>(tokens_made);
}

void TokenizeStrtok(benchmark::State& state) {
  const std::string& line = WordText();
  std::size_t tokens_made = 0;
  for (auto _ : state) {
    std::vector<char> copy(line.c_str(), line.c_str() + line.size() + 1);
    std::vector<std::string> tokens;
    for (char* token = std::strtok(copy.data(), kSpace); token != nullptr;
         token = std::strtok(nullptr, kSpace)) {
      tokens.emplace_back(token);
    }
    tokens_made = tokens.size();
    benchmark::DoNotOptimize(tokens.data());
  }
  state.counters["tokens"] = static_cast<double>(tokens_made);
}

// --- ReplaceAll over 16 MB ---------------------------------------------------

constexpr int kLines = 400000;
constexpr char kCrLf[] = "\r\n";
constexpr char kLf[] = "\n";
constexpr char kTwoSeparators[] = "\\\\";
constexpr char kSeparator[] = "\\";

// Pieces of the word text, one after the other, each followed by what
// `separator` gives for it, until `pieces` pieces or (pieces = 0) 16,000,000
// bytes.
template <class Separator>
std::string Pieces(int pieces, int shortest, int longest, Separator separator) {
  const std::string& words = WordText();
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> size(shortest, longest);
  std::string text;
  std::size_t from = 0;
  for (int i = 0; pieces == 0 ? text.size() < 16000000 : i < pieces; ++i) {
    const auto n = static_cast<std::size_t>(size(random));
    if (from + n > words.size()) from = 0;
    text.append(words, from, n);
    from += n;
    text += separator(random);
  }
  return text;
}

// 400,000 lines of 28 to 48 characters (16,000,000 bytes on average), each
// ended by CR LF.
const std::string& CrLfText() {
  static const std::string text =
      Pieces(kLines, 28, 48, [](std::mt19937&) { return kCrLf; });
  return text;
}

// 16,000,000 bytes of path parts of 4 to 20 characters, separated by runs of
// one to four backslashes, mostly two (the loader's doubled separator).
const std::string& SeparatorText() {
  static const std::string text = Pieces(0, 4, 20, [](std::mt19937& random) {
    static constexpr int kRunSizes[] = {1, 2, 2, 2, 2, 3, 4, 2};
    return std::string(kRunSizes[random() % std::size(kRunSizes)], '\\');
  });
  return text;
}

// A plain loop: every CR LF becomes LF.
std::string CrLfToLf(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(kCrLf, from)) != std::string::npos;
       from = at + 2) {
    out.append(text, from, at - from).append(kLf);
  }
  return out.append(text, from);
}

// A plain loop: every run of backslashes becomes one backslash.
std::string CollapseRuns(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at;
       (at = text.find(kTwoSeparators, from)) != std::string::npos;) {
    out.append(text, from, at + 1 - from);
    from = text.find_first_not_of(kSeparator, at + 2);
    if (from == std::string::npos) from = text.size();
  }
  return out.append(text, from);
}

// Whether ReplaceAll and the plain loop give the same text.
bool SameResult(benchmark::State& state, const std::string& text,
                const char* what, const char* with,
                std::string (*loop)(const std::string&)) {
  XString ours(text.c_str());
  if (std::string_view(ours.ReplaceAll(0, what, with)) == loop(text)) {
    return true;
  }
  state.SkipWithError("ReplaceAll and the plain loop disagree");
  return false;
}

// A fresh copy of the text for each call, made while the clock is stopped.
void ReplaceAllOurs(benchmark::State& state, const std::string& text,
                    const char* what, const char* with,
                    std::string (*loop)(const std::string&)) {
  if (!SameResult(state, text, what, with, loop)) return;
  for (auto _ : state) {
    state.PauseTiming();
    XString s(text.c_str());
    state.ResumeTiming();
    s.ReplaceAll(0, what, with);
    benchmark::DoNotOptimize(s.text);
    state.PauseTiming();
    s.Empty();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}

void ReplaceAllLoop(benchmark::State& state, const std::string& text,
                    std::string (*loop)(const std::string&)) {
  for (auto _ : state) {
    std::string out = loop(text);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}

void CrLfOurs(benchmark::State& state) {
  ReplaceAllOurs(state, CrLfText(), kCrLf, kLf, CrLfToLf);
}
void CrLfLoop(benchmark::State& state) {
  ReplaceAllLoop(state, CrLfText(), CrLfToLf);
}
void SeparatorsOurs(benchmark::State& state) {
  ReplaceAllOurs(state, SeparatorText(), kTwoSeparators, kSeparator,
                 CollapseRuns);
}
void SeparatorsLoop(benchmark::State& state) {
  ReplaceAllLoop(state, SeparatorText(), CollapseRuns);
}

BENCHMARK_CAPTURE(FindOurs, absent, kNeedle)->Name("find_absent/ours");
BENCHMARK_CAPTURE(FindMemmem, absent, kNeedle)->Name("find_absent/memmem");
BENCHMARK(FindStd)->Name("find_absent/theirs");
BENCHMARK(FindHorspool)->Name("find_absent/horspool");
BENCHMARK(FindMemchr)->Name("find_absent/memchr");
BENCHMARK_CAPTURE(FindOurs, phrase, kPhrase)->Name("find_phrase/ours");
BENCHMARK_CAPTURE(FindMemmem, phrase, kPhrase)->Name("find_phrase/memmem");
BENCHMARK_CAPTURE(FindOurs, present, Present())->Name("find_present/ours");
BENCHMARK_CAPTURE(FindMemmem, present, Present())->Name("find_present/memmem");
BENCHMARK_CAPTURE(ReverseFindOurs, absent, kNeedle)->Name("rfind_absent/ours");
BENCHMARK(ReverseFindStd)->Name("rfind_absent/theirs");
BENCHMARK_CAPTURE(ReverseFindOurs, phrase, kPhrase)->Name("rfind_phrase/ours");
BENCHMARK_CAPTURE(ReverseFindOurs, present, Present())
    ->Name("rfind_present/ours");
BENCHMARK(FormatOurs)->Name("format/ours");
BENCHMARK(FormatSnprintf)->Name("format/theirs");
BENCHMARK(AppendOurs)->Name("append/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(AppendOstringstream)
    ->Name("append/theirs")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(AppendFmt)->Name("append/fmt")->Unit(benchmark::kMillisecond);
BENCHMARK(TokenizeOurs)->Name("tokenize/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(TokenizeStrtok)
    ->Name("tokenize/theirs")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CrLfOurs)->Name("replace_crlf/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(CrLfLoop)->Name("replace_crlf/theirs")->Unit(benchmark::kMillisecond);
BENCHMARK(SeparatorsOurs)
    ->Name("replace_runs/ours")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SeparatorsLoop)
    ->Name("replace_runs/theirs")
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morvane::bench
