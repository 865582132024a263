#include "tracker/leak_report.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdint>
#include <ctime>
#include <string>

#include "platform/platform.h"

namespace morvane::tracker {
namespace {

// Addresses are printed in full, in lower-case hexadecimal without prefix.
std::uintptr_t Address(const void* pointer) {
  return reinterpret_cast<std::uintptr_t>(pointer);
}

// printf into a string that grows to the whole text: a debugger line is never
// cut, however long the file name.
MORVANE_PRINTF_LIKE(1, 2) std::string Compose(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int size = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  if (size > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
  va_end(again);
  return text;
}

void SendToDebugger(const std::string& line) {
  platform::Calls().debug_output(line.c_str());
}

// Mode "w": the log of an earlier run is replaced. The mode string "wa"
// meant no more than this to the C runtimes that accept it, and some Windows
// runtimes reject it.
constexpr char kLogMode[] = "w";

constexpr char kLogBanner[] = "[qmx] mem_manager\n";
constexpr char kLogRule[] = "::::::::::::::::::::::::::::::::::::::::::\n";
constexpr char kLogTimestamp[] = "timestamp: %s\n\n";
constexpr char kLogTotalSize[] = "overall size of memory leaks   = %8d byte\n";
constexpr char kLogTotalCount[] = "num of memory leaks            = %8d \n\n";
constexpr char kLogBlockTop[] =
    ",------------------------------------------------------------"
    "[mem leak]\n";
constexpr char kLogBlockSize[] = "|   size    = %d\n";
constexpr char kLogBlockSource[] = "|   src     = %s\n";
constexpr char kLogBlockLine[] = "|   line    = %d\n";
constexpr char kLogBlockPointer[] = "|   pointer = %" PRIxPTR "\n";
constexpr char kLogBlockBottom[] =
    "'-------------------------------------------------------------------"
    "\n\n";
constexpr char kLogEnd[] = "---\nEOF\n";

constexpr char kDebugTotalSize[] =
    "[qmx] overall size of memory leaks      = %8d bytes\n";
constexpr char kDebugTotalCount[] =
    "[qmx] num of memory leaks               = %8d \n\n";
constexpr char kDebugBlockSource[] = "%s (%i)";
constexpr char kDebugBlock[] =
    "%-60s : memleak -> size(%4i)  ptr(%" PRIxPTR ") [qmx].\n";
constexpr char kDebugSummary[] =
    "manager %" PRIxPTR
    " ,manager memorysize:%d , size %d, varcount: %d ,logfile:%s";
constexpr char kDebugNothingLive[] = "manager %" PRIxPTR;

// The local time in asctime's form, which ends with a line end.
const char* Timestamp() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  return local != nullptr ? std::asctime(local) : "\n";
}

}  // namespace

LeakReport::LeakReport(const char* logfile, int usedmem, int memcount)
    : logfile_(logfile), usedmem_(usedmem), memcount_(memcount) {}

LeakReport::~LeakReport() {
  if (log_) std::fputs(kLogEnd, log_.get());
}

void LeakReport::Open() {
  log_.reset(std::fopen(logfile_, kLogMode));
  if (!log_) return;
  std::FILE* log = log_.get();
  std::fputs(kLogBanner, log);
  std::fputs(kLogRule, log);
  std::fprintf(log, kLogTimestamp, Timestamp());
  std::fprintf(log, kLogTotalSize, usedmem_);
  std::fprintf(log, kLogTotalCount, memcount_);
  SendToDebugger(Compose(kDebugTotalSize, usedmem_));
  SendToDebugger(Compose(kDebugTotalCount, memcount_));
}

// Sizes are printed as the signed values the formats name.
void LeakReport::Add(const MemStruct& record) {
  const int size = static_cast<int>(record.size);
  if (!log_) Open();
  if (std::FILE* log = log_.get()) {
    std::fputs(kLogBlockTop, log);
    std::fprintf(log, kLogBlockSize, size);
    std::fprintf(log, kLogBlockSource, record.file);
    std::fprintf(log, kLogBlockLine, record.line);
    std::fprintf(log, kLogBlockPointer, Address(record.pointer));
    std::fputs(kLogBlockBottom, log);
  }
  const std::string source =
      Compose(kDebugBlockSource, record.file, record.line);
  SendToDebugger(
      Compose(kDebugBlock, source.c_str(), size, Address(record.pointer)));
}

void SendSummary(const MemManager* manager, int memorysize, int usedmem,
                 int varcount, const char* logfile) {
  SendToDebugger(Compose(kDebugSummary, Address(manager), memorysize, usedmem,
                         varcount, logfile));
}

void SendNothingLive(const MemManager* manager) {
  SendToDebugger(Compose(kDebugNothingLive, Address(manager)));
}

}  // namespace morvane::tracker
