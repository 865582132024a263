#include <windows.h>

#include "support/loaded_library.h"

void* OpenLibrary(const char* path) { return LoadLibraryA(path); }
void* FindSymbol(void* lib, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(HMODULE(lib), name));
}
bool CloseLibrary(void* library) { return FreeLibrary(HMODULE(library)); }
