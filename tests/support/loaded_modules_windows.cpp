#include <windows.h>

#include "support/loaded_modules.h"

bool IsLoaded(const std::string& p) { return GetModuleHandleA(p.c_str()); }
