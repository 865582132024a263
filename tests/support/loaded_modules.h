// Whether the process holds a library, which only the system can tell:
// loaded_modules_posix.cpp or loaded_modules_windows.cpp.
#pragma once

#include <string>

// True while the library file at `path` is loaded; loads nothing.
bool IsLoaded(const std::string& path);
