// XString::Tokenize: splits the text with strtok's rules into a vector.
#include <morvane/XVector.h>

#include <cstring>
#include <memory>

#include "strings/xstring_internal.h"

// strtok works on a private copy, so this string keeps its text and length.
// The copy holds the text up to its first zero (zeros counted in the length
// end the scan) followed by the delimiters: those may point into an element
// of `tokens`, which a regrowth of the vector releases while the scan still
// needs them.
XString& XString::Tokenize(XVector<XString>* tokens, const char* delimiters) {
  XString holder;
  const size_t text_size = std::strlen(text) + 1;
  const size_t delimiters_size = std::strlen(delimiters) + 1;
  std::unique_ptr<char[]> copy(new char[text_size + delimiters_size]);
  char* own_text = copy.get();
  char* own_delimiters = own_text + text_size;
  std::memcpy(own_text, text, text_size);
  std::memcpy(own_delimiters, delimiters, delimiters_size);

  for (char* token = std::strtok(own_text, own_delimiters); token != nullptr;
       token = std::strtok(nullptr, own_delimiters)) {
    holder = token;
    tokens->Add(holder);
  }
  return *this;
}
