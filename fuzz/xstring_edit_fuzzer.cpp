// XString construction, assignment, concatenation, search and editing,
// checked step by step against a std::string that follows the documented
// scanning rules. Indices are decoded over the valid ranges and a little
// beyond them, where XString.h states what happens. C-string arguments
// sometimes point into the string being changed, which the class allows.
#include <morvane/XString.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "support/string_model.h"
#include "support/xstring_bytes.h"

namespace {

using morvane::model::Size;
using morvane::testing::Holds;

// The shared model (support/string_model.h) holds the searches and
// ReplaceAll, which the property test uses too; the rest of the model,
// which only this fuzzer uses, follows.
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

void Step(fuzz::Input& in, XString& s, std::string& m) {
  std::string storage;
  std::string arg;
  const char* const old_buffer = s.GetPtr();
  switch (in.Byte() % 20) {
    case 0: {  // construction from one text, then assignment of the string
      const std::string a = in.Text();
      XString t(a.c_str());
      FUZZ_CHECK(Holds(t, a));
      s = t;
      m = a;
      FUZZ_CHECK(Holds(t, a));
      break;
    }
    case 1: {  // construction from two texts
      const std::string a = in.Text();
      const std::string b = in.Text();
      XString t(a.c_str(), b.c_str());
      FUZZ_CHECK(Holds(t, a + b));
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
    case 4: {  // self-assignment
      const XString& same = s;
      s = same;
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
    case 8: {  // operator+ leaves the left operand alone
      const char* p = Argument(in, s, m, storage, arg);
      FUZZ_CHECK(Holds(s + p, m + arg));
      FUZZ_CHECK(Holds(XString(p, s.GetPtr()), arg + m));
      const char c = static_cast<char>(in.Byte());
      FUZZ_CHECK(Holds(s + c, c == '\0' ? m : m + c));
      FUZZ_CHECK(Holds(s + s, m + m));
      break;
    }
    case 9: {
      const int to = Position(in, 0, Size(m));
      const int from = Position(in, 0, to + 1);
      FUZZ_CHECK(Holds(s.Sub(from, to), model::Sub(m, from, to)));
      break;
    }
    case 10: {
      const int to = Position(in, -1, Size(m) - 1);
      const int from = Position(in, 0, to + 1);
      FUZZ_CHECK(&s.Delete(from, to) == &s);
      model::Delete(m, from, to);
      break;
    }
    case 11: {
      const int pos = Position(in, 0, Size(m));
      const char* p = Argument(in, s, m, storage, arg);
      FUZZ_CHECK(&s.Insert(pos, p) == &s);
      model::Insert(m, pos, arg);
      break;
    }
    case 12:
    case 13: {  // Replace, ReplaceAll; nothing found keeps the buffer
      const bool all = in.Byte() % 2 == 1;
      const int start = Position(in, 0, Size(m));
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
      const int start = Position(in, 0, Size(m));
      const char* p = Argument(in, s, m, storage, arg);
      FUZZ_CHECK(s.Find(start, p) == model::Find(m, start, arg));
      break;
    }
    case 16: {
      const int start = Position(in, 0, Size(m));
      const char* p = Argument(in, s, m, storage, arg);
      FUZZ_CHECK(s.ReverseFind(start, p) == model::ReverseFind(m, start, arg));
      break;
    }
    case 17: {
      const char* p = Argument(in, s, m, storage, arg);
      const bool equal = arg == m;
      FUZZ_CHECK((s == p) == equal);
      FUZZ_CHECK(s.CMP(p) == equal);
      XString t(p);
      FUZZ_CHECK((s == t) == equal);
      break;
    }
    case 18:
      s.Empty();
      m.clear();
      break;
    default: {
      const int i = in.Index(0, Size(m));
      FUZZ_CHECK(s[i] == (i < Size(m) ? m[i] : '\0'));
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
