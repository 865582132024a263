// A sample plug-in for the loader tests: a real library that names the
// directory of the sample tree that it was built into.
extern "C" const char* morvane_plugin_folder() { return MORVANE_PLUGIN_FOLDER; }
