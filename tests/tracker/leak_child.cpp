// Drives the tracker of a library that it loads itself, for leak_report_test:
//   leak_child DIR [close] [SIZE LINE FILE]...
// Loads the library, moves into DIR, sends the debugger lines to
// DIR/debugger.txt and allocates one block per triple. DIR/out.txt receives
// the address of _b_new and of each block (hexadecimal), and for "close" two
// digits: the library was released, and the leak log existed right after.
// Without "close" the report comes at process exit.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/loaded_library.h"

namespace fs = std::filesystem;

// Leaking is this program's purpose: LeakSanitizer, when the build has it,
// must not turn the deliberate leaks into a failure. (Default options would
// lose to ASAN_OPTIONS in the environment; default suppressions do not.)
extern "C" const char* __lsan_default_suppressions() {
  return "leak:leak_child.cpp";
}

int main(int argc, char** argv) {
  void* library = OpenLibrary(MORVANE_LIBRARY_FILE);
  // _b_new has C++ linkage: this is its linker name.
  auto* b_new = reinterpret_cast<void* (*)(unsigned, const char*, int)>(
      FindSymbol(library, "_Z6_b_newjPKci"));
  fs::current_path(argv[1]);
  putenv(const_cast<char*>("MORVANE_DEBUG_OUTPUT=debugger.txt"));
  std::ofstream out("out.txt", std::ios::binary);
  out << std::hex << reinterpret_cast<std::uintptr_t>(b_new) << '\n';
  const bool close = argc > 2 && std::string(argv[2]) == "close";
  for (int i = 2 + close; i + 2 < argc; i += 3) {
    void* block =
        b_new(std::stoul(argv[i]), argv[i + 2], std::stoi(argv[i + 1]));
    out << reinterpret_cast<std::uintptr_t>(block) << '\n';
  }
  if (close) out << CloseLibrary(library) << fs::exists("bmemlog.log");
}
