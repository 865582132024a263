// Drives the tracker for leak_report_test, then returns from main so that
// the library's exit routine writes its report.
//   leak_child [new SIZE LINE FILE | delete INDEX]...
// Prints the address of _b_new, then that of each new block, one per line,
// in lower-case hexadecimal.
#include <morvane/bmem.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void PrintAddress(std::uintptr_t address) {
  std::printf("%" PRIxPTR "\n", address);
}

}  // namespace

int main(int argc, char** argv) {
  PrintAddress(reinterpret_cast<std::uintptr_t>(&_b_new));
  std::vector<void*> blocks;
  for (int i = 1; i < argc;) {
    if (std::strcmp(argv[i], "new") == 0 && i + 3 < argc) {
      const auto size =
          static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
      blocks.push_back(_b_new(size, argv[i + 3], std::atoi(argv[i + 2])));
      PrintAddress(reinterpret_cast<std::uintptr_t>(blocks.back()));
      i += 4;
    } else if (std::strcmp(argv[i], "delete") == 0 && i + 1 < argc) {
      _b_delete(blocks.at(std::strtoul(argv[i + 1], nullptr, 10)), nullptr, 0);
      i += 2;
    } else {
      std::fprintf(stderr, "leak_child: bad argument %s\n", argv[i]);
      return 2;
    }
  }
  return 0;
}
