#include <dlfcn.h>

#include "support/loaded_modules.h"

bool IsLoaded(const std::string& path) {
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  return module != nullptr && dlclose(module) == 0;
}
