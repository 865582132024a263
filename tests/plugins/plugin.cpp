// A sample plug-in for the loader tests: a real library that does nothing.
extern "C" int morvane_plugin() { return 0; }
