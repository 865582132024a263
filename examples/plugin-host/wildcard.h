// File-name patterns as the plug-in loader reads them. The library's own
// matcher, the one LoadLibraries uses on POSIX, is private (no public header
// offers one), so the demo carries this copy of its rules to list the files
// that LoadLibraries loaded.
#ifndef MORVANE_EXAMPLES_PLUGIN_HOST_WILDCARD_H_
#define MORVANE_EXAMPLES_PLUGIN_HOST_WILDCARD_H_

namespace demo {

// True when `name` matches `pattern`, where '*' stands for any run of
// characters (also none) and '?' for any one character; every other
// character stands for itself.
bool MatchesWildcard(const char* pattern, const char* name);

}  // namespace demo

#endif  // MORVANE_EXAMPLES_PLUGIN_HOST_WILDCARD_H_
