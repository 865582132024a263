// Why one pass over the old text gives what the repeated Replace gives.
//
// Write the string during the repeated Replace as done + with + rest, where
// `with` is the copy just inserted and `rest` the old text behind the
// occurrence it replaced. The next search starts at the copy, so `done`
// never changes again: it is output. The search runs the single-pass rule
// (pattern_scan.h) over `with`, then over `rest`.
//
// - When `with` contains `what`, the search starts behind the copy instead,
//   with nothing matched: a plain forward search of the old text.
// - Otherwise the rule cannot complete a match inside `with`, and what it
//   holds behind `with` (k characters of `what` matched) depends on `with`
//   and `what` only: it is worked out once per call. With k = 0 the search
//   is again a plain forward search of the old text. With k > 0 the attempt
//   that began k characters before the end of `with` runs on into `rest`:
//   it either completes there (the occurrence begins inside `with`: its
//   first r - k characters become output, a new copy takes the place of the
//   old one and w - k characters of the old text are used up), or it fails
//   at some character, behind which the rule holds k = 0 again.
//
// So a pass reads the old text once, front to back: a forward search between
// occurrences, at most w - k comparisons at each. The forward search runs
// the rule itself over the next kNear characters, jumping from one first
// character of `what` to the next (16 characters are compared at once with
// SSE2, where the target has it), so that occurrences close together, as
// line ends or runs of separators, cost a few steps each; it hands the rest
// of the text to the vector scan of pattern_scan.cpp.
//
// n replacements give length + n (r - w) characters. When r <= w the result
// is never longer than the text, and the pass writes it over the old text
// itself: what it has written plus the pending copy of `with` never reaches
// past the old text still to be read, which it thus never overwrites. The
// result is then copied into its exact buffer. (Arguments that point into
// the text are copied first.) When r > w a first pass counts the result
// without writing anything, so that the string is left alone when it would
// not fit an int, and a second pass writes it straight into its exact
// buffer. Neither needs memory besides the result's buffer (and those
// copies).
#include "strings/replace_all.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "strings/pattern_scan.h"
#include "strings/xstring_internal.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace morvane::strings {
namespace {

// How far the forward search runs the rule itself before the vector scan
// takes over.
constexpr int kNear = 64;

#if defined(__SSE2__)
constexpr int kBlock = 16;  // characters compared at once
#endif

// The first position in [from, end) that holds `c`; `end` when there is
// none, or `from` when it is not below `end`. Reads nothing outside.
int FirstOf(const char* text, int from, int end, char c) {
#if defined(__SSE2__)
  const __m128i all_c = _mm_set1_epi8(c);
  for (; end - from >= kBlock; from += kBlock) {
    const auto* block = reinterpret_cast<const __m128i*>(text + from);
    const int hits =
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(block), all_c));
    if (hits != 0) return from + __builtin_ctz(static_cast<unsigned>(hits));
  }
#endif
  while (from < end && text[from] != c) ++from;
  return from;
}

class Rewrite {
 public:
  Rewrite(const XString& s, const char* what, const char* with)
      : text_(s.text),
        length_(s.length),
        what_(what),
        w_(Measure(what)),
        with_(with),
        r_(Measure(with)) {
    if (std::strstr(with, what) != nullptr) return;  // resumes behind it
    for (int i = 0; i < r_; ++i) {
      carried_ = with[i] == what[carried_] ? carried_ + 1 : 0;
    }
  }

  // The first occurrence that the rule finds from `from` with nothing
  // matched (from >= 0; beyond the text: none).
  int Find(int from) const {
    const int near = from + std::min(kNear, length_ - from);
    for (int i = from;;) {
      i = FirstOf(text_, i, near, what_[0]);
      if (i >= near) return ForwardScan(text_, length_, i, what_, w_);
      int k = 1;
      while (k < w_ && text_[i + k] == what_[k]) ++k;
      if (k == w_) return i;
      i += k + 1;  // the failing character is not tried again
    }
  }

  // Hands the result to `out` piece by piece, out.Put(from, count), given
  // the first occurrence.
  template <class Out>
  void Emit(int first, Out& out) const {
    out.Put(text_, first);
    int used = first + w_;  // old text before this is replaced or output
    for (;;) {
      int resume = used;  // where the scan goes on with nothing matched
      if (carried_ > 0) {
        // The attempt carried over from the copy. The terminating zero
        // matches no pattern character, so it stops at the end of the text.
        int k = carried_;
        int i = used;
        while (k < w_ && text_[i] == what_[k]) ++k, ++i;
        if (k == w_) {
          out.Put(with_, r_ - carried_);
          used = i;
          continue;
        }
        resume = i + 1;  // the failing character is not tried again
      }
      const int next = Find(resume);
      if (next < 0) break;
      out.Put(with_, r_);
      out.Put(text_ + used, next - used);
      used = next + w_;
    }
    out.Put(with_, r_);
    out.Put(text_ + used, length_ - used);
  }

  bool Grows() const { return r_ > w_; }

 private:
  const char* text_;
  int length_;
  const char* what_;
  int w_;
  const char* with_;
  int r_;
  int carried_ = 0;  // what the rule holds behind an inserted copy
};

struct Measurer {
  std::int64_t size = 0;
  void Put(const char*, int count) { size += count; }
};

// Where the result goes: a new buffer, or the old text itself (which is why
// it moves rather than copies: a piece may overlap its new place).
struct Writer {
  char* at;
  void Put(const char* from, int count) {
    std::memmove(at, from, static_cast<size_t>(count));
    at += count;
  }
};

bool PointsInto(const XString& s, const char* p) {
  const std::less_equal<> le;
  return le(s.text, p) && le(p, s.text + s.length);
}

// A result no longer than the text (see the top).
void RewriteInPlace(XString& s, int first, const char* what, const char* with) {
  std::string what_copy;
  std::string with_copy;
  if (PointsInto(s, what)) what = what_copy.assign(what).c_str();
  if (PointsInto(s, with)) with = with_copy.assign(with).c_str();
  Writer out{s.text};
  Rewrite(s, what, with).Emit(first, out);
  // Should the new buffer not be had, the string holds the result.
  s.length = static_cast<int>(out.at - s.text);
  s.text[s.length] = '\0';
  Install(s, CopyText(s.text, s.length), s.length);
}

}  // namespace

void ReplaceEvery(XString& s, int start, const char* what, const char* with) {
  const Rewrite rewrite(s, what, with);
  const int first = rewrite.Find(start);
  if (first < 0) return;
  if (!rewrite.Grows()) {
    RewriteInPlace(s, first, what, with);
    return;
  }
  Measurer measured;
  rewrite.Emit(first, measured);
  if (measured.size > INT_MAX) return;
  const int length = static_cast<int>(measured.size);
  char* text = NewText(length);
  Writer writer{text};
  rewrite.Emit(first, writer);
  text[length] = '\0';
  Install(s, text, length);
}

}  // namespace morvane::strings
