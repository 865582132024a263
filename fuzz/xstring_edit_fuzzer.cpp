// XString construction, assignment, concatenation, comparison, search and
// editing, checked step by step against a std::string that follows the
// documented scanning rules, and the const overloads against the others.
// Indices are decoded over the valid ranges and a little beyond them, where
// XString.h states what happens, and search starts also at the int limits.
// C-string arguments sometimes point into the string being changed, which
// the class allows, and sometimes are null.
#include <morvane/XString.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "fuzz_input.h"
#include "string_model.h"

namespace {

using morvane::model::Holds;
using morvane::model::Size;

// The shared model (string_model.h) holds the searches and
// ReplaceAll; the rest of the model, which only this harness uses, follows.
namespace model {

using morvane::model::Find;
using morvane::model::ReplaceAll;
using morvane::model::ReverseFind;

// The occurrence that Find reports, replaced; nothing when there is none.
void Replace(std::string& s, int start, const std::string& what,
             const std::string& with) {
  const int i = Find(s, start, what);
  if (i >= 0) s.replace(static_cast<size_t>(i), what.size(), with);
}

// Solid bytes are the printable ASCII ones other than the space.
bool Solid(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u > 32 && u < 127;
}

std::string Trim(const std::string& s) {
  const auto first = std::find_if(s.begin(), s.end(), Solid);
  if (first == s.end()) return "";
  const auto last = std::find_if(s.rbegin(), s.rend(), Solid).base();
  return std::string(first, last);
}

// Characters `from` to `to`, clamped as XString.h states; the terminating
// zero at Length() ends the result.
std::string Sub(const std::string& s, int from, int to) {
  from = std::max(from, 0);
  to = std::min(to, Size(s) - 1);
  return from > to ? "" : s.substr(from, to - from + 1);
}

void Delete(std::string& s, int from, int to) {
  from = std::max(from, 0);
  to = std::min(to, Size(s) - 1);
  if (from <= to) s.erase(from, to - from + 1);
}

void Insert(std::string& s, int pos, const std::string& what) {
  s.insert(std::clamp(pos, 0, Size(s)), what);
}

}  // namespace model

// Texts longer than kMaxLength are dropped after each step, so that no
// chain of steps grows them without bound. The step-by-step ReplaceAll of the
// model moves the text once per replacement: a call that could make it move
// more than kMaxModelMoves characters is left out. Every replacement uses up
// at least one character of the old text, so there are at most Size(m) of
// them, and the text grows to at most Size(m) * (Size(with) + 1).
constexpr size_t kMaxLength = 4096;
constexpr size_t kMaxModelMoves = size_t{1} << 26;

// A C-string argument: a text from the input, a pointer into `s`'s own
// buffer (odd selector) or null (selector 2). `copy` receives its text as the
// members read it.
const char* Argument(fuzz::Input& in, XString& s, const std::string& m,
                     std::string& storage, std::string& copy) {
  const uint8_t selector = in.Byte();
  if (selector % 2 == 1) {
    const int offset = in.Index(0, Size(m));
    copy = m.substr(offset);
    return s.GetPtr() + offset;
  }
  if (selector == 2) {
    const char* const null = nullptr;
    copy = morvane::model::Text(null);
    return null;
  }
  storage = copy = in.Text();
  return storage.c_str();
}

// An index in a window of two positions around the documented range.
int Position(fuzz::Input& in, int low, int high) {
  return in.Index(low - 2, high + 2);
}

// A search start: Position(in, 0, size), or the int limits for the words
// 0xfffe and 0xffff.
int Start(fuzz::Input& in, int size) {
  const uint16_t word = in.Word();
  if (word >= 0xfffe) return word == 0xfffe ? INT_MIN : INT_MAX;
  return -2 + word % (size + 5);
}

// The six comparisons of `l` with `r`, one bit each.
template <class L, class R>
int Comparisons(L& l, R& r) {
  return (l == r) | ((l != r) << 1) | ((l < r) << 2) | ((l <= r) << 3) |
         ((l > r) << 4) | ((l >= r) << 5);
}

// The order of two texts by their bytes as unsigned values (as
// std::string's compare takes them): -1 before, 0 equal, 1 after.
int Order(const std::string& a, const std::string& b) {
  const int c = a.compare(b);
  return (c > 0) - (c < 0);
}

// What Comparisons gives for an order: -1 before, 0 equal, 1 after.
int Expected(int order) {
  const int zero = 0;
  return Comparisons(order, zero);
}

// Bytes that make occurrences overlap: mostly 'a' and 'b', now and then 'c'
// or 0xff (a sign error's favourite).
std::string Letters(std::mt19937& random, size_t size) {
  std::string bytes(size, ' ');
  for (char& c : bytes) c = "aaaaaaabbbbbbbc\xff"[random() % 16];
  return bytes;
}

// `size` characters: a unit of one to four repeated, now and then broken by
// another byte, so that occurrences follow each other closely.
std::string Repeated(std::mt19937& random, size_t size) {
  const std::string unit = Letters(random, 1 + random() % 4);
  std::string text;
  while (text.size() < size) {
    text += random() % 8 == 0 ? Letters(random, 1) : unit;
  }
  return text.substr(0, size);
}

struct SearchCase {
  std::string text, what, with;
  int start;
};

// A search case drawn from `seed`: texts of 0 to 100 characters, one in two
// hundred of 1000 to 3000, a quarter of them repeated units; patterns of 0
// (never found) to 10 characters, one in eight up to 40 (longer than the
// scans' blocks of 8 and 32 candidates), half of them cut from the text and
// a quarter of those with one byte changed; replacements of 0 to 3
// characters, half of them followed by a start of the pattern (a match may
// then begin inside the inserted copy; the whole pattern makes the search
// resume behind it); starts from before the text to beyond its terminator,
// and the int limits.
SearchCase Draw(uint32_t seed) {
  std::mt19937 random(seed);
  SearchCase c;
  const size_t length =
      random() % 200 == 0 ? 1000 + random() % 2000 : random() % 101;
  const bool repeated = random() % 4 == 0;
  c.text = repeated ? Repeated(random, length) : Letters(random, length);
  const size_t most = random() % 8 == 0 ? 40 : 10;
  const size_t size = random() % (most + 1);
  c.what = Letters(random, size);
  if (random() % 2 == 0 && size > 0 && size <= c.text.size()) {
    c.what = c.text.substr(random() % (c.text.size() - size + 1), size);
    if (random() % 4 == 0) {
      const size_t changed = random() % size;
      c.what[changed] = Letters(random, 1)[0];
    }
  }
  c.with = Letters(random, random() % 4);
  if (random() % 2 == 0) c.with += c.what.substr(0, random() % (size + 1));
  if (random() % 16 == 0) {
    c.start = random() % 2 == 0 ? INT_MIN : INT_MAX;
  } else {
    c.start = static_cast<int>(random() % (c.text.size() + 5)) - 2;
  }
  return c;
}

void Step(fuzz::Input& in, XString& s, std::string& m) {
  std::string storage;
  std::string arg;
  const char* const old_buffer = s.GetPtr();
  switch (in.Byte() % 21) {
    case 0: {  // construction from one text, then assignment of the string
      const std::string a = in.Text();
      XString t(a.c_str());
      FUZZ_CHECK(Holds(t, a));
      s = t;
      m = a;
      FUZZ_CHECK(Holds(t, a));
      FUZZ_CHECK(s.GetPtr() != old_buffer);
      break;
    }
    case 1: {  // construction from two texts
      std::string first_storage;
      std::string first;
      const char* a = Argument(in, s, m, first_storage, first);
      const char* b = Argument(in, s, m, storage, arg);
      FUZZ_CHECK(Holds(XString(a, b), first + arg));
      break;
    }
    case 2: {  // copy construction
      XString t(s);
      FUZZ_CHECK(Holds(t, m));
      break;
    }
    case 3: {  // assignment of a text; equal contents keep the buffer
      const char* p = Argument(in, s, m, storage, arg);
      const bool same = arg == m;
      s = p;
      m = arg;
      if (same) FUZZ_CHECK(s.GetPtr() == old_buffer);
      break;
    }
    case 4: {  // self-assignment installs a new buffer all the same
      const XString& same = s;
      s = same;
      FUZZ_CHECK(s.GetPtr() != old_buffer);
      break;
    }
    case 5: {
      const char* p = Argument(in, s, m, storage, arg);
      s += p;
      m += arg;
      break;
    }
    case 6:
      if (in.Byte() % 2 == 0) {
        s += s;
        m += m;
      } else {
        const std::string a = in.Text();
        XString t(a.c_str());
        s += t;
        m += a;
      }
      break;
    case 7: {
      const char c = static_cast<char>(in.Byte() | 1);
      s += c;
      m += c;
      break;
    }
    case 8: {  // operator+ leaves the operands alone
      const char* p = Argument(in, s, m, storage, arg);
      const std::string_view view = arg;
      const XString& c_s = s;
      FUZZ_CHECK(Holds(s + p, m + arg));
      FUZZ_CHECK(Holds(c_s + p, m + arg));
      FUZZ_CHECK(Holds(p + s, arg + m));
      FUZZ_CHECK(Holds(s + view, m + arg));
      FUZZ_CHECK(Holds(view + s, arg + m));
      const char c = static_cast<char>(in.Byte());
      FUZZ_CHECK(Holds(s + c, c == '\0' ? m : m + c));
      FUZZ_CHECK(Holds(c_s + c, c == '\0' ? m : m + c));
      // A prepended zero is counted as operator+=(char) counts it.
      FUZZ_CHECK(Holds(c + s, c == '\0' ? m + c : c + m));
      FUZZ_CHECK(Holds(s + s, m + m));
      FUZZ_CHECK(Holds(c_s + c_s, m + m));
      break;
    }
    case 9: {
      const int to = Position(in, 0, Size(m));
      const int from = Position(in, 0, to + 1);
      const std::string sub = model::Sub(m, from, to);
      FUZZ_CHECK(Holds(s.Sub(from, to), sub));
      FUZZ_CHECK(Holds(std::as_const(s).Sub(from, to), sub));
      break;
    }
    case 10: {
      const int to = Position(in, -1, Size(m) - 1);
      const int from = Position(in, 0, to + 1);
      FUZZ_CHECK(&s.Delete(from, to) == &s);
      FUZZ_CHECK(s.GetPtr() != old_buffer);
      model::Delete(m, from, to);
      break;
    }
    case 11: {
      const int pos = Position(in, 0, Size(m));
      const char* p = Argument(in, s, m, storage, arg);
      FUZZ_CHECK(&s.Insert(pos, p) == &s);
      FUZZ_CHECK(s.GetPtr() != old_buffer);
      model::Insert(m, pos, arg);
      break;
    }
    case 12:
    case 13: {  // Replace, ReplaceAll; nothing found keeps the buffer
      const bool all = in.Byte() % 2 == 1;
      const int start = Start(in, Size(m));
      std::string what_storage;
      std::string what;
      const char* w = Argument(in, s, m, what_storage, what);
      const char* p = Argument(in, s, m, storage, arg);
      const bool found = model::Find(m, start, what) >= 0;
      if (all && m.size() * m.size() * (arg.size() + 1) > kMaxModelMoves) break;
      if (all) {
        FUZZ_CHECK(&s.ReplaceAll(start, w, p) == &s);
        model::ReplaceAll(m, start, what, arg);
      } else {
        FUZZ_CHECK(&s.Replace(start, w, p) == &s);
        model::Replace(m, start, what, arg);
      }
      if (!found) FUZZ_CHECK(s.GetPtr() == old_buffer);
      break;
    }
    case 14: {  // both ends solid keeps the buffer
      const bool kept =
          !m.empty() && model::Solid(m.front()) && model::Solid(m.back());
      FUZZ_CHECK(&s.Trim() == &s);
      m = model::Trim(m);
      if (kept) FUZZ_CHECK(s.GetPtr() == old_buffer);
      break;
    }
    case 15: {
      const int start = Start(in, Size(m));
      const char* p = Argument(in, s, m, storage, arg);
      const int found = model::Find(m, start, arg);
      FUZZ_CHECK(s.Find(start, p) == found);
      FUZZ_CHECK(std::as_const(s).Find(start, p) == found);
      break;
    }
    case 16: {
      const int start = Start(in, Size(m));
      const char* p = Argument(in, s, m, storage, arg);
      const int found = model::ReverseFind(m, start, arg);
      FUZZ_CHECK(s.ReverseFind(start, p) == found);
      FUZZ_CHECK(std::as_const(s).ReverseFind(start, p) == found);
      break;
    }
    case 17: {  // every comparison, with each type on either side
      const char* p = Argument(in, s, m, storage, arg);
      const int order = Expected(Order(m, arg));
      const int swapped = Expected(-Order(m, arg));
      FUZZ_CHECK(s.CMP(p) == (m == arg));
      FUZZ_CHECK(std::as_const(s).CMP(p) == (m == arg));
      XString t(p);
      const XString& c_t = t;
      const std::string_view view = arg;
      auto compare = [&](auto& x) {
        FUZZ_CHECK(Comparisons(x, p) == order);
        FUZZ_CHECK(Comparisons(p, x) == swapped);
        FUZZ_CHECK(Comparisons(x, t) == order);
        FUZZ_CHECK(Comparisons(x, c_t) == order);
        FUZZ_CHECK(Comparisons(t, x) == swapped);
        FUZZ_CHECK(Comparisons(x, arg) == order);
        FUZZ_CHECK(Comparisons(arg, x) == swapped);
        FUZZ_CHECK(Comparisons(x, view) == order);
        FUZZ_CHECK(Comparisons(view, x) == swapped);
      };
      compare(s);
      compare(std::as_const(s));
      break;
    }
    case 18:
      s.Empty();
      m.clear();
      break;
    case 20: {  // a drawn search case
      const SearchCase c = Draw(in.Bits32());
      s = c.text.c_str();
      m = c.text;
      const char* const what = c.what.c_str();
      FUZZ_CHECK(s.Find(c.start, what) == model::Find(m, c.start, c.what));
      FUZZ_CHECK(s.ReverseFind(c.start, what) ==
                 model::ReverseFind(m, c.start, c.what));
      FUZZ_CHECK(&s.ReplaceAll(c.start, what, c.with.c_str()) == &s);
      model::ReplaceAll(m, c.start, c.what, c.with);
      break;
    }
    default: {
      const int i = in.Index(0, Size(m));
      const char c = i < Size(m) ? m[i] : '\0';
      FUZZ_CHECK(s[i] == c);
      FUZZ_CHECK(std::as_const(s)[i] == c);
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  XString s;
  std::string m;
  while (!in.Done()) {
    Step(in, s, m);
    FUZZ_CHECK(Holds(s, m));
    if (m.size() > kMaxLength) {
      s.Empty();
      m.clear();
    }
  }
  return 0;
}
