// A sample plug-in for the loader tests. Every build of it exports the same
// C function and returns its own MORVANE_PLUGIN_VALUE, so a lookup tells
// which file was loaded.
#include <morvane/export.h>

extern "C" MORVANE_API int morvane_plugin_value() {
  return MORVANE_PLUGIN_VALUE;
}
