// Reading a leak log written by morvane's tracker: its totals, and its blocks
// added up per call site. The reader is strict: every line must be the one
// the log's format puts there. A log whose header is wrong is not read at
// all; a garbled or cut-off block is skipped with a warning that names its
// line, and reading goes on at the next block.
#ifndef MORVANE_TOOLS_LEAKS_LEAK_LOG_READER_H_
#define MORVANE_TOOLS_LEAKS_LEAK_LOG_READER_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace morvane::leaks {

// The blocks of one call site: a source file and line, or (ranked by file)
// a source file alone, whose `line` is then 0.
struct Site {
  std::string file;
  std::int32_t line = 0;
  std::uint64_t blocks = 0;
  std::uint64_t bytes = 0;
  std::uint32_t largest = 0;  // the size of the largest single block
};

// A message about the line of the log that it names (1 for the first line).
struct Issue {
  std::uint64_t line = 0;
  std::string text;
};

struct LeakLog {
  // Added up from the blocks that were read. A size is printed as a signed
  // 32-bit value: a negative one is a block of 2^32 plus that many bytes.
  std::uint64_t blocks = 0;
  std::uint64_t bytes = 0;
  // The totals that the log's header states.
  std::int32_t logged_bytes = 0;
  std::int32_t logged_blocks = 0;
  // One per source file and line, in the order of their first block.
  std::vector<Site> sites;
  // The first kMaxWarnings warnings; `warning_count` counts them all.
  std::vector<Issue> warnings;
  std::uint64_t warning_count = 0;
  std::uint64_t skipped_blocks = 0;
  // Set when the log could not be read: nothing else is then meaningful.
  std::optional<Issue> error;

  // Whether the header's totals are those of the blocks, modulo 2^32 (the
  // width in which the tracker keeps them).
  bool TotalsAgree() const;
};

inline constexpr std::size_t kMaxWarnings = 20;

// Reads a log from pieces that may split its lines anywhere: the same bytes
// give the same result however they are cut.
class LeakLogReader {
 public:
  void Feed(std::string_view piece);
  // Whether the log has proved unreadable, so that the rest need not be fed.
  bool Failed() const { return log_.error.has_value(); }
  // Ends the log and hands over what was read. Call once.
  LeakLog Finish();

 private:
  enum class Expect {
    kBanner,
    kRule,
    kTimestamp,
    kTimestampEnd,
    kEmptyAfterTimestamp,
    kTotalSize,
    kTotalCount,
    kEmptyAfterTotals,
    kBlockOrEnd,
    kSize,
    kSource,
    kLine,
    kPointer,
    kBottom,
    kEmptyAfterBlock,
    kEof,
    kAfterEof,
    kIgnoreRest,
    kNextBlock,  // after a fault: skipping up to the next block or the end
  };

  struct SiteKey {
    std::string_view file;
    std::int32_t line;
    bool operator==(const SiteKey& other) const {
      return line == other.line && file == other.file;
    }
  };
  struct SiteKeyHash {
    std::size_t operator()(const SiteKey& key) const;
  };

  void Line(std::string_view line, bool too_long);
  void HeaderLine(std::string_view line, bool valid);
  void BlockLine(std::string_view line, bool valid);
  void Next(Expect next) { expect_ = next; }
  // Goes on at this line if it starts a block or the end, else at the next
  // line that does.
  void Resync(std::string_view line, bool valid);
  void SkipBlock(std::string_view line, bool valid,
                 const std::string& expected);
  void AddBlock();
  void Fail(std::uint64_t line, std::string text);
  void Warn(std::uint64_t line, std::string text);
  std::size_t LineLimit() const;

  LeakLog log_;
  Expect expect_ = Expect::kBanner;
  std::uint64_t line_number_ = 0;
  bool crlf_ = false;
  // A line that runs past the end of a piece; past LineLimit() only its
  // length is kept.
  std::string partial_;
  bool partial_too_long_ = false;
  // The block being read.
  std::uint64_t block_line_ = 0;
  std::uint32_t block_size_ = 0;
  std::string block_file_;
  std::int32_t block_source_line_ = 0;
  // The sites found so far, by file and line; the keys point into names_,
  // whose strings never move.
  std::unordered_map<SiteKey, std::size_t, SiteKeyHash> site_index_;
  std::deque<std::string> names_;
};

// Reads the log file at `path`. A file that cannot be opened or read, or
// that needs more memory than there is, gives an error at line 0.
LeakLog ReadLeakLogFile(const std::string& path);

}  // namespace morvane::leaks

#endif  // MORVANE_TOOLS_LEAKS_LEAK_LOG_READER_H_
