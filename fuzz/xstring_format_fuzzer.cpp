// XString::Format with formats and arguments from the input, checked against
// a model of its walk: eight one-letter conversions, each rendered by
// snprintf with its two-character format, any other character after '%'
// copied as itself, at most 1024 format positions scanned, the text cut at
// its first zero, and `lastArg` holding the last argument fetched. Formats
// and "%s" arguments may be long, and may point into the target's own text.
#include <morvane/XString.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fuzz_input.h"

namespace {

constexpr size_t kScanLimit = 1024;
// Conversions that take an argument, per Format call; any further ones in a
// decoded format are turned into "%%". Each call site is instantiated for
// every sequence of argument types, 3^kMaxArgs of them.
constexpr size_t kMaxArgs = 5;

bool IsConversion(char c) {
  return std::string("idxXscgf").find(c) != std::string::npos;
}

// Walks `format` as Format does: literal(c) for each character that is
// copied, conversion(pos) for each conversion letter, in order.
template <class Literal, class Conversion>
void Walk(const std::string& format, Literal literal, Conversion conversion) {
  for (size_t pos = 0; pos < format.size() && pos < kScanLimit; ++pos) {
    if (format[pos] != '%') {
      literal(format[pos]);
    } else if (++pos == format.size()) {
      return;  // a '%' at the end is dropped
    } else if (IsConversion(format[pos])) {
      conversion(pos);
    } else {
      literal(format[pos]);
    }
  }
}

enum class Kind { kInt, kText, kDouble };

struct Arg {
  char letter;
  Kind kind;
  int i;          // %i %d %x %X %c
  const char* s;  // %s
  double d;       // %g %f
};

template <class T>
std::string Print(char letter, T value) {
  const char format[] = {'%', letter, '\0'};
  const int n = std::snprintf(nullptr, 0, format, value);
  std::string out(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(&out[0], out.size(), format, value);
  out.pop_back();
  return out;
}

std::string Render(const Arg& a) {
  switch (a.kind) {
    case Kind::kDouble:
      return Print(a.letter, a.d);
    case Kind::kText:
      return a.s == nullptr ? "(null)" : Print(a.letter, a.s);
    case Kind::kInt:
      break;
  }
  // %c renders the low byte (snprintf writes a zero byte as it is).
  if (a.letter == 'c') return std::string(1, static_cast<char>(a.i));
  return Print(a.letter, a.i);
}

// lastArg after fetching `a`.
unsigned int Fetched(const Arg& a, unsigned int last) {
  switch (a.kind) {
    case Kind::kDouble: {
      const float f = static_cast<float>(a.d);
      unsigned int bits;
      std::memcpy(&bits, &f, sizeof bits);
      return bits;
    }
    case Kind::kText:
      return static_cast<unsigned int>(reinterpret_cast<uintptr_t>(a.s));
    case Kind::kInt:
      break;
  }
  const auto i = static_cast<unsigned int>(a.i);
  return a.letter == 'c' ? (last & ~0xffu) | (i & 0xffu) : i;
}

// Calls Format with args[next...] appended to `passed`, in their own types.
template <class... Passed>
void Call(XString& target, const char* format, const std::vector<Arg>& args,
          size_t next, Passed... passed) {
  if constexpr (sizeof...(Passed) < kMaxArgs) {
    if (next < args.size()) {
      const Arg& a = args[next];
      switch (a.kind) {
        case Kind::kInt:
          return Call(target, format, args, next + 1, passed..., a.i);
        case Kind::kText:
          return Call(target, format, args, next + 1, passed..., a.s);
        case Kind::kDouble:
          return Call(target, format, args, next + 1, passed..., a.d);
      }
    }
  }
  // The formats are the fuzzer's own: any text, checked against the model.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
  target.Format(format, passed...);
#pragma GCC diagnostic pop
}

// One Format call on `s`, which holds `m`.
void FormatOnce(fuzz::Input& in, XString& s, std::string& m) {
  const uint8_t flags = in.Byte();
  std::string format = in.Text();
  const bool null_format = (flags & 2) != 0;  // reads as the empty format
  if (null_format) format.clear();
  size_t converted = 0;
  Walk(
      format, [](char) {},
      [&](size_t pos) {
        if (++converted > kMaxArgs) format[pos] = '%';
      });
  if (flags & 1) {  // the format is the target's own text
    s = format.c_str();
    m = format;
  }

  std::vector<Arg> args;
  std::vector<std::string> texts;  // fresh "%s" texts; never reallocated
  texts.reserve(kMaxArgs);
  Walk(
      format, [](char) {},
      [&](size_t pos) {
        Arg a{format[pos], Kind::kInt, 0, nullptr, 0.0};
        if (a.letter == 'g' || a.letter == 'f') {
          a.kind = Kind::kDouble;
          a.d = in.Double();
        } else if (a.letter != 's') {
          a.i = static_cast<int>(in.Bits32());
        } else {
          a.kind = Kind::kText;
          const uint8_t source = in.Byte();
          if (source % 2 == 1) {  // a pointer into the target's own text
            a.s = s.GetPtr() + in.Index(0, static_cast<int>(m.size()));
          } else if (source != 0) {  // zero passes a null pointer
            texts.push_back(in.Text());
            a.s = texts.back().c_str();
          }
        }
        args.push_back(a);
      });

  std::string expected;
  unsigned int last = s.lastArg;
  size_t next = 0;
  Walk(
      format, [&](char c) { expected += c; },
      [&](size_t) {
        const Arg& a = args[next++];
        expected += Render(a);
        last = Fetched(a, last);
      });
  expected.resize(std::strlen(expected.c_str()));

  const char* const null = nullptr;
  Call(s,
       null_format   ? null
       : (flags & 1) ? s.GetPtr()
                     : format.c_str(),
       args, 0);
  m = expected;
  FUZZ_CHECK(s.Length() == static_cast<int>(m.size()));
  FUZZ_CHECK(std::memcmp(s.GetPtr(), m.c_str(), m.size() + 1) == 0);
  FUZZ_CHECK(s.lastArg == last);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  XString s;
  std::string m;
  while (!in.Done()) FormatOnce(in, s, m);
  return 0;
}
