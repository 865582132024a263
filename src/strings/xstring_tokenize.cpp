// XString::Tokenize: splits the text with strtok's rules into a vector.
#include <morvane/XVector.h>

#include <cstring>
#include <memory>
#include <utility>

#include "strings/xstring_internal.h"

namespace {

// The token holder: an XString that shows each token where strtok left it,
// in the private copy, for the vector to copy from; the holder itself makes
// no copy of its own. It keeps the one-byte buffer it was built with and puts
// it back before it dies, so a shown token is never released through it.
class TokenHolder {
 public:
  TokenHolder() : own_text_(view_.text) {}
  TokenHolder(const TokenHolder&) = delete;
  TokenHolder& operator=(const TokenHolder&) = delete;
  ~TokenHolder() {
    view_.text = own_text_;
    view_.length = 0;
  }

  const XString& Show(char* token) {
    view_.text = token;
    view_.length = morvane::strings::Measure(token);
    return view_;
  }

 private:
  XString view_;
  char* const own_text_;
};

}  // namespace

// strtok works on a private copy, so this string keeps its text and length.
// The copy holds the text up to its first zero (zeros counted in the length
// end the scan) followed by the delimiters: those may point into an element
// of `tokens`, which a regrowth of the vector releases while the scan still
// needs them.
const XString& XString::Tokenize(XVector<XString>* tokens,
                                 const char* delimiters) const {
  if (tokens == nullptr) return *this;
  delimiters = morvane::strings::OrEmpty(delimiters);
  TokenHolder holder;
  const size_t text_size = std::strlen(text) + 1;
  const size_t delimiters_size = std::strlen(delimiters) + 1;
  std::unique_ptr<char[]> copy(new char[text_size + delimiters_size]);
  char* own_text = copy.get();
  char* own_delimiters = own_text + text_size;
  std::memcpy(own_text, text, text_size);
  std::memcpy(own_delimiters, delimiters, delimiters_size);

  for (char* token = std::strtok(own_text, own_delimiters); token != nullptr;
       token = std::strtok(nullptr, own_delimiters)) {
    tokens->Add(holder.Show(token));
  }
  return *this;
}

XString& XString::Tokenize(XVector<XString>* tokens, const char* delimiters) {
  std::as_const(*this).Tokenize(tokens, delimiters);
  return *this;
}
