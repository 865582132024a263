// The steps of the demo session, one per part of the library. Each prints
// what it does to standard output.
#ifndef MORVANE_EXAMPLES_PLUGIN_HOST_STEPS_H_
#define MORVANE_EXAMPLES_PLUGIN_HOST_STEPS_H_

#include <morvane/XString.h>
#include <morvane/XVector.h>

#include <string>

namespace demo {

// Registers `directory` as a search directory, loads every plug-in in it
// that matches `pattern`, calls each one's entry function with `line` and
// prints its answer, with the plug-in's own word on how it came to it.
// Returns the number of plug-ins that answered.
int ShowPlugins(const std::string& directory, const std::string& pattern,
                const char* line);

// Splits `line` at blanks into `tokens` and lists them.
void ShowTokens(const char* line, XVector<XString>* tokens);

// Formats the (name, value) pairs of `tokens` as a table.
void ShowTable(XVector<XString>* tokens);

// Solves a 3x3 linear system.
void ShowLinearSystem();

// Intersects a segment with a triangle, with both forms of the operation.
void ShowIntersection();

// Allocates through the tracker, releases most blocks and leaks two on
// purpose. Returns true when the tracker's totals are as expected.
bool ShowTrackedAllocation();

// Runs every step in order and ends the loader. The exit code for the
// session: 0 when every step did its part.
int RunSession(const std::string& directory, const std::string& pattern);

}  // namespace demo

#endif  // MORVANE_EXAMPLES_PLUGIN_HOST_STEPS_H_
