// The two functions every demo plug-in exports, and how the host finds them.
//
// The host hands each plug-in the line of text it is working on and a buffer
// to append its answer to; the plug-in builds the answer with the library's
// own string classes, and says in a few words how it came to it.
// MORVANE_DEMO_EXPORT comes from the build: it marks a function for export
// from a plug-in (empty where everything is exported).
#ifndef MORVANE_EXAMPLES_PLUGINS_DEMO_PLUGIN_H_
#define MORVANE_EXAMPLES_PLUGINS_DEMO_PLUGIN_H_

#include <morvane/XStringBuf.h>

// The exported name of the entry function.
inline constexpr char kDemoEntryName[] = "morvane_demo_answer";

// Appends the plug-in's answer about `input` to `answer`.
using DemoEntry = void (*)(const char* input, XStringBuf* answer);

// The exported name of the function that describes the answer.
inline constexpr char kDemoAboutName[] = "morvane_demo_about";

// What the plug-in does to the line, in one line of at most 72 characters.
using DemoAbout = const char* (*)();

#endif  // MORVANE_EXAMPLES_PLUGINS_DEMO_PLUGIN_H_
