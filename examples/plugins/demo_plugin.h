// The one function every demo plug-in exports, and how the host finds it.
//
// The host hands each plug-in the line of text it is working on and a buffer
// to append its answer to; the plug-in builds the answer with the library's
// own string classes. MORVANE_DEMO_EXPORT comes from the build: it marks the
// function for export from a plug-in (empty where everything is exported).
#ifndef MORVANE_EXAMPLES_PLUGINS_DEMO_PLUGIN_H_
#define MORVANE_EXAMPLES_PLUGINS_DEMO_PLUGIN_H_

#include <morvane/XStringBuf.h>

// The exported name of the entry function.
inline constexpr char kDemoEntryName[] = "morvane_demo_answer";

// Appends the plug-in's answer about `input` to `answer`.
using DemoEntry = void (*)(const char* input, XStringBuf* answer);

#endif  // MORVANE_EXAMPLES_PLUGINS_DEMO_PLUGIN_H_
