// The texts of the leak log file, shared by the tracker that writes the log
// (leak_report.cpp) and the tools that read it (tools/leaks). Each line of
// the log is one of these, with the value that its conversion names.
#ifndef MORVANE_SRC_TRACKER_LEAK_LOG_FORMAT_H_
#define MORVANE_SRC_TRACKER_LEAK_LOG_FORMAT_H_

namespace morvane::tracker {

inline constexpr char kLogBanner[] = "[qmx] mem_manager\n";
inline constexpr char kLogRule[] =
    "::::::::::::::::::::::::::::::::::::::::::\n";
// With the local time in asctime's form, which ends with a line end.
inline constexpr char kLogTimestamp[] = "timestamp: %s\n\n";
inline constexpr char kLogTotalSize[] =
    "overall size of memory leaks   = %8d byte\n";
inline constexpr char kLogTotalCount[] =
    "num of memory leaks            = %8d \n\n";
// Each block, as printf would write it from the format
//   ",---...---[mem leak]\n|   size    = %d\n|   src     = %s\n"
//   "|   line    = %d\n|   pointer = %x\n'---...---\n\n"
// (60 hyphens after the comma, 67 after the apostrophe): the top, then each
// label followed by its value, then the bottom.
inline constexpr char kLogBlockTop[] =
    ",------------------------------------------------------------"
    "[mem leak]\n";
inline constexpr char kLogBlockSize[] = "|   size    = ";
inline constexpr char kLogBlockSource[] = "\n|   src     = ";
inline constexpr char kLogBlockLine[] = "\n|   line    = ";
inline constexpr char kLogBlockPointer[] = "\n|   pointer = ";
inline constexpr char kLogBlockBottom[] =
    "\n'-------------------------------------------------------------------"
    "\n\n";
inline constexpr char kLogEnd[] = "---\nEOF\n";

}  // namespace morvane::tracker

#endif  // MORVANE_SRC_TRACKER_LEAK_LOG_FORMAT_H_
