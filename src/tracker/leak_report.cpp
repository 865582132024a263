#include "tracker/leak_report.h"

#include <morvane/attributes.h>

#include <cinttypes>
#include <cstdarg>
#include <cstdint>
#include <ctime>
#include <string>

#include "common/integer_text.h"
#include "platform/platform.h"
#include "tracker/leak_log_format.h"

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

// Mode "w": the log of an earlier run is replaced. That is all that the
// documented mode string "wa" means to the C runtimes that accept it, and
// some Windows runtimes reject "wa".
constexpr char kLogMode[] = "w";

// Room for the log's stream buffer: a report writes a few hundred bytes per
// block.
constexpr std::size_t kLogBufferSize = std::size_t{64} * 1024;

constexpr char kDebugTotalSize[] =
    "[qmx] overall size of memory leaks      = %8d bytes\n";
constexpr char kDebugTotalCount[] =
    "[qmx] num of memory leaks               = %8d \n\n";
// Each block's debugger line, as printf would write it from the format
// "%-60s : memleak -> size(%4i)  ptr(%x) [qmx].\n", whose first argument is
// printed from "%s (%i)" with the file and line.
constexpr char kDebugSourceOpen[] = " (";
constexpr char kDebugSourceClose[] = ")";
constexpr std::size_t kDebugSourceWidth = 60;
constexpr char kDebugBlockSize[] = " : memleak -> size(";
constexpr std::size_t kDebugSizeWidth = 4;
constexpr char kDebugBlockPointer[] = ")  ptr(";
constexpr char kDebugBlockEnd[] = ") [qmx].\n";
constexpr char kDebugSummary[] =
    "manager %" PRIxPTR
    " ,manager memorysize:%d , size %d, varcount: %d ,logfile:%s";
constexpr char kDebugNothingLive[] = "manager %" PRIxPTR;

// printf's "%d" (or "%<width>d": right-aligned, padded with spaces).
void AppendDecimal(std::string& out, int value, std::size_t width = 0) {
  char digits[common::kIntegerTextRoom];
  const auto size =
      static_cast<std::size_t>(common::WriteDecimal(digits, value) - digits);
  if (size < width) out.append(width - size, ' ');
  out.append(digits, size);
}

void AppendHex(std::string& out, std::uintptr_t value) {
  char digits[common::kIntegerTextRoom];
  out.append(digits, common::WriteHex(digits, value));
}

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
  log_buffer_ = std::make_unique<char[]>(kLogBufferSize);
  std::setvbuf(log, log_buffer_.get(), _IOFBF, kLogBufferSize);
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
  const int size = Signed32(record.size);
  const std::uintptr_t pointer = Address(record.pointer);
  if (!log_) Open();
  if (std::FILE* log = log_.get()) {
    text_.assign(kLogBlockTop);
    text_ += kLogBlockSize;
    AppendDecimal(text_, size);
    text_ += kLogBlockSource;
    text_ += record.file;
    text_ += kLogBlockLine;
    AppendDecimal(text_, record.line);
    text_ += kLogBlockPointer;
    AppendHex(text_, pointer);
    text_ += kLogBlockBottom;
    std::fwrite(text_.data(), 1, text_.size(), log);
  }
  text_.assign(record.file);
  text_ += kDebugSourceOpen;
  AppendDecimal(text_, record.line);
  text_ += kDebugSourceClose;
  if (text_.size() < kDebugSourceWidth)
    text_.append(kDebugSourceWidth - text_.size(), ' ');
  text_ += kDebugBlockSize;
  AppendDecimal(text_, size, kDebugSizeWidth);
  text_ += kDebugBlockPointer;
  AppendHex(text_, pointer);
  text_ += kDebugBlockEnd;
  SendToDebugger(text_);
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
