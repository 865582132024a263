// What test programs ask of the system's library loader directly, bypassing
// the library: loaded_library_posix.cpp or loaded_library_windows.cpp.
#pragma once

void* OpenLibrary(const char* path);                // null on failure
void* FindSymbol(void* library, const char* name);  // null when not exported
bool CloseLibrary(void* library);                   // true when released
