#include <dlfcn.h>

#include "support/loaded_library.h"

void* OpenLibrary(const char* path) { return dlopen(path, RTLD_NOW); }
void* FindSymbol(void* lib, const char* name) { return dlsym(lib, name); }
bool CloseLibrary(void* library) { return dlclose(library) == 0; }
