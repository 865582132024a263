#include <dlfcn.h>

#include "support/loaded_library.h"

void* OpenLibrary(const char* path) { return dlopen(path, RTLD_NOW); }
void* FindSymbol(void* lib, const char* name) { return dlsym(lib, name); }
bool CloseLibrary(void* library) { return dlclose(library) == 0; }
bool IsLoaded(const std::string& path) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  return library != nullptr && CloseLibrary(library);
}
