// The plug-in that faces.cpp loads: one exported function.
extern "C" int consumer_plugin_answer() { return 42; }
