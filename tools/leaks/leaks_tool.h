// The morvane-leaks command line: reads one leak log and prints its summary
// by call site (leak_summary.h). Kept apart from main() so that tests and
// the demo can run it.
#ifndef MORVANE_TOOLS_LEAKS_LEAKS_TOOL_H_
#define MORVANE_TOOLS_LEAKS_LEAKS_TOOL_H_

#include <ostream>
#include <string>
#include <vector>

namespace morvane::leaks {

// Exit codes.
inline constexpr int kSummarised = 0;
// Summarised, with warnings: blocks skipped, a log cut off, text after its
// end, or totals that do not agree with the blocks.
inline constexpr int kSummarisedWithWarnings = 1;
// No summary: a usage error, a file that cannot be read or is not a leak
// log, or an HTML page that cannot be written.
inline constexpr int kNoSummary = 2;

// Runs the program with `args` (without the program's name): the summary
// (or CSV, or help) goes to `out`, every message to `err`, each message
// naming the log and, where there is one, its line. Returns the exit code.
int RunLeaksTool(const std::vector<std::string>& args, std::ostream& out,
                 std::ostream& err);

}  // namespace morvane::leaks

#endif  // MORVANE_TOOLS_LEAKS_LEAKS_TOOL_H_
