// A program that uses the library the way an outside project does: only the
// installed headers and the shared library. It exits non-zero when anything
// it sees is wrong, so the packaging check fails loudly.
#include <morvane/XString.h>
#include <morvane/bmem.h>

#include <cstdio>
#include <cstring>

namespace {

int failures = 0;

void Expect(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "consumer: FAILED: %s\n", what);
    ++failures;
  }
}

}  // namespace

int main() {
  XString name("morvane");
  XString line;
  line.Format("%s %d.%d", name.GetPtr(), 1, 0);
  Expect(line == "morvane 1.0", "XString::Format joins text and numbers");
  Expect(line.Length() == 11, "XString::Length counts the formatted text");

  void* block = _b_new(24, __FILE__, __LINE__);
  Expect(block != nullptr, "_b_new returns a block");
  Expect(_b_getusedmem() == 24, "the tracker counts the requested bytes");
  Expect(_b_getmemcount() == 1, "the tracker counts the live block");
  std::memset(block, 0, 24);
  _b_delete(block, __FILE__, __LINE__);
  Expect(_b_getmemcount() == 0, "_b_delete gives the block back");

  std::printf("consumer: %s, %d failure(s)\n", line.GetPtr(), failures);
  return failures == 0 ? 0 : 1;
}
