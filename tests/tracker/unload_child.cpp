// Loads the library with dlopen, leaks one tracked block, closes the library
// and says whether the leak log existed right after dlclose, while this
// process still runs. Prints the address of _b_new and of the block first,
// one per line, in lower-case hexadecimal.
#include <dlfcn.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <initializer_list>

int main() {
  void* library = dlopen(MORVANE_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "unload_child: %s\n", dlerror());
    return 2;
  }
  // _b_new has C++ linkage; this is its mangled name.
  using NewFunction = void* (*)(unsigned int, const char*, int);
  auto b_new = reinterpret_cast<NewFunction>(dlsym(library, "_Z6_b_newjPKci"));
  if (b_new == nullptr) return 3;
  for (const void* address :
       {reinterpret_cast<void*>(b_new), b_new(24, "unload.cpp", 12)})
    std::printf("%" PRIxPTR "\n", reinterpret_cast<std::uintptr_t>(address));
  if (dlclose(library) != 0) return 4;
  const bool written = access("bmemlog.log", F_OK) == 0;
  std::printf(written ? "log written at close\n" : "no log at close\n");
  return 0;
}
