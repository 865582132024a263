// XString conversions against models that share no code with the library:
// Tokenize against a plain scan for runs of non-delimiters (no strtok),
// SplitPath against the contract that XString.h states for it, GetValue
// against strtod after the one comma, GetFromUnicode against the low bytes.
#include <morvane/XString.h>
#include <morvane/XVector.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "string_model.h"

namespace {

constexpr int kMaxTokens = 4096;

using morvane::model::Holds;
using morvane::model::Size;

// --- Tokenize ----------------------------------------------------------------

// The longest runs of characters outside `delimiters`, in order.
std::vector<std::string> Tokens(const std::string& text,
                                const std::string& delimiters) {
  std::vector<std::string> tokens;
  std::string token;
  for (char c : text + '\0') {
    if (c != '\0' && delimiters.find(c) == std::string::npos) {
      token += c;
    } else if (!token.empty()) {
      tokens.push_back(token);
      token.clear();
    }
  }
  return tokens;
}

struct Tokenized {
  std::unique_ptr<XVector<XString>> vector{new XVector<XString>};
  std::vector<std::string> model;
  int capacity = 0;  // 16 on the first Add, then doubling
};

void CheckTokenize(fuzz::Input& in, Tokenized& t) {
  const std::string text = in.Text();
  std::string delimiters = in.Text();
  XString s(text.c_str());
  const uint8_t flags = in.Byte();
  const int zeros = (flags & 0x3f) % 3;  // counted by Length(), not the text
  for (int i = 0; i < zeros; ++i) s += '\0';
  // Null delimiters read as none; a null vector receives nothing.
  const bool null_delimiters = (flags & 0x40) != 0;
  const bool null_vector = (flags & 0x80) != 0;
  if (null_delimiters) delimiters.clear();

  XVector<XString>* const vector = null_vector ? nullptr : t.vector.get();
  FUZZ_CHECK(&s.Tokenize(vector,
                         null_delimiters ? nullptr : delimiters.c_str()) == &s);
  FUZZ_CHECK(s.Length() == Size(text) + zeros);
  FUZZ_CHECK(std::strcmp(s.GetPtr(), text.c_str()) == 0);
  if (null_vector) return;
  for (const std::string& token : Tokens(text, delimiters)) {
    if (static_cast<int>(t.model.size()) == t.capacity)
      t.capacity = t.capacity == 0 ? 16 : 2 * t.capacity;
    t.model.push_back(token);
  }
  XVector<XString>& v = *t.vector;
  FUZZ_CHECK(v.Count() == static_cast<int>(t.model.size()));
  FUZZ_CHECK(v.Capacity() == t.capacity);
  for (int i = 0; i < v.Count(); ++i) FUZZ_CHECK(Holds(v[i], t.model[i]));
  if (v.Count() > kMaxTokens) t = Tokenized();
}

// --- SplitPath ---------------------------------------------------------------

// The drive is the first two characters when the second is a colon; the
// directory runs to the last slash or backslash; the extension from the last
// period of the name. Parts are cut to 2 and 255 characters.
std::vector<std::string> Split(const std::string& path) {
  const size_t rest = path.size() >= 2 && path[1] == ':' ? 2 : 0;
  size_t name = path.find_last_of("/\\");
  name = name == std::string::npos || name < rest ? rest : name + 1;
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < name) dot = path.size();
  return {path.substr(0, rest), path.substr(rest, name - rest).substr(0, 255),
          path.substr(name, dot - name).substr(0, 255),
          path.substr(dot).substr(0, 255)};
}

void CheckSplitPath(fuzz::Input& in) {
  const std::string path = in.Text();
  const uint8_t present = in.Byte();   // bit i: part i is asked for
  const int self = in.Byte() % 5 - 1;  // the part given `s` itself, if any
  XString s(path.c_str());
  XString parts[4];
  XString* out[4];
  for (int i = 0; i < 4; ++i) {
    out[i] = (present >> i & 1) == 0 ? nullptr : i == self ? &s : &parts[i];
  }
  FUZZ_CHECK(&s.SplitPath(out[0], out[1], out[2], out[3]) == &s);

  const std::vector<std::string> expected = Split(path);
  std::string s_expected = path;
  for (int i = 0; i < 4; ++i) {
    if (out[i] == &s) s_expected = expected[i];
    if (out[i] == &parts[i]) FUZZ_CHECK(Holds(parts[i], expected[i]));
    if (out[i] == nullptr) FUZZ_CHECK(Holds(parts[i], ""));
  }
  FUZZ_CHECK(Holds(s, s_expected));
}

// --- GetValue ----------------------------------------------------------------

void CheckGetValue(fuzz::Input& in) {
  std::string text = in.Text();
  XString s(text.c_str());
  const char* const buffer = s.GetPtr();
  const size_t comma = text.find(',');
  if (comma != std::string::npos) text[comma] = '.';
  const double expected = std::strtod(text.c_str(), nullptr);
  const double value = s.GetValue();
  FUZZ_CHECK(std::memcmp(&value, &expected, sizeof value) == 0 ||
             (std::isnan(value) && std::isnan(expected)));
  FUZZ_CHECK(Holds(s, text));
  if (comma == std::string::npos) FUZZ_CHECK(s.GetPtr() == buffer);
}

// --- GetFromUnicode ----------------------------------------------------------

// A count of 255 passes null, which reads as no units.
void CheckGetFromUnicode(fuzz::Input& in) {
  const uint8_t count = in.Byte();
  std::vector<unsigned short> units(count == 255 ? 0 : count);
  for (unsigned short& unit : units) unit = in.Word();
  units.push_back(0);
  std::string expected;
  for (unsigned short unit : units) {
    if (unit == 0 || (unit & 0xff) == 0) break;
    expected += static_cast<char>(unit & 0xff);
  }
  XString s(in.Text().c_str());
  FUZZ_CHECK(&s.GetFromUnicode(count == 255 ? nullptr : units.data()) == &s);
  FUZZ_CHECK(Holds(s, expected));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  Tokenized tokenized;
  while (!in.Done()) {
    switch (in.Byte() % 4) {
      case 0:
        CheckTokenize(in, tokenized);
        break;
      case 1:
        CheckSplitPath(in);
        break;
      case 2:
        CheckGetValue(in);
        break;
      default:
        CheckGetFromUnicode(in);
        break;
    }
  }
  return 0;
}
