// The output side of the tracker's leak report: the leak log file and the
// lines sent to the debugger channel. Which blocks are reported, and in what
// order, is the manager's business (mem_manager.h).
#ifndef MORVANE_SRC_TRACKER_LEAK_REPORT_H_
#define MORVANE_SRC_TRACKER_LEAK_REPORT_H_

#include <cstdio>
#include <memory>
#include <string>

#include "tracker/mem_manager.h"

namespace morvane::tracker {

// One report. The log is opened at the first block for which opening
// succeeds (an existing file is replaced); the opening writes the banner and
// totals to it and sends the two total lines to the debugger. Every block
// goes to the debugger, and to the log once it is open.
//
// A report may list a great many blocks, so each block's text and debugger
// line are composed by hand, to the bytes that their printf formats give,
// and the log is written through one large stream buffer.
class LeakReport {
 public:
  // `logfile` must outlive the report.
  LeakReport(const char* logfile, int usedmem, int memcount);
  LeakReport(const LeakReport&) = delete;
  LeakReport& operator=(const LeakReport&) = delete;
  // Ends and closes the log, if it was opened.
  ~LeakReport();

  void Add(const MemStruct& record);

 private:
  void Open();

  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  const char* logfile_;
  int usedmem_;
  int memcount_;
  // The text of one block, then of its debugger line: built here, reused.
  std::string text_;
  // The log's stream buffer; declared before the stream, so that it outlives
  // the stream's last flush.
  std::unique_ptr<char[]> log_buffer_;
  std::unique_ptr<std::FILE, FileCloser> log_;
};

// The debugger line that closes a report.
void SendSummary(const MemManager* manager, int memorysize, int usedmem,
                 int varcount, const char* logfile);

// The debugger line of a manager that has nothing live at destruction.
void SendNothingLive(const MemManager* manager);

}  // namespace morvane::tracker

#endif  // MORVANE_SRC_TRACKER_LEAK_REPORT_H_
