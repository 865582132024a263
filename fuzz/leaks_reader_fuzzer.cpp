// morvane-leaks's reader on any bytes: the input's first byte chooses how
// the rest is cut into pieces, and the reading in pieces must give what the
// reading in one piece gives. A log that is read must add up: its sites'
// blocks and bytes are its totals, each site's largest block lies within its
// bytes, the ranking puts the most bytes first by site and by file, and the
// text, CSV and HTML summaries are written. The same bytes also give blocks
// that the tracker's own writer logs, and the reader must read back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "leak_log_reader.h"
#include "leak_summary.h"
#include "tracker/leak_report.h"

namespace {

using morvane::leaks::Grouping;
using morvane::leaks::Issue;
using morvane::leaks::LeakLog;
using morvane::leaks::LeakLogReader;
using morvane::leaks::Site;

constexpr char kRoundTripLog[] = "leaks_reader_round_trip.log";
constexpr std::uint32_t kMaxRoundTripBlocks = 16;

std::string Describe(const LeakLog& log) {
  std::ostringstream text;
  if (log.error) text << "error " << log.error->line << log.error->text;
  for (const Issue& warning : log.warnings) {
    text << warning.line << warning.text << '\n';
  }
  text << log.warning_count << ' ' << log.skipped_blocks << ' ' << log.blocks
       << ' ' << log.bytes << ' ' << log.logged_blocks << ' '
       << log.logged_bytes << '\n';
  for (const Site& site : log.sites) {
    text << site.file << ':' << site.line << ' ' << site.blocks << ' '
         << site.bytes << ' ' << site.largest << '\n';
  }
  return text.str();
}

void CheckRanking(const LeakLog& log, Grouping grouping) {
  const std::vector<Site> ranked = morvane::leaks::Rank(log.sites, grouping);
  std::uint64_t blocks = 0;
  std::uint64_t bytes = 0;
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    blocks += ranked[i].blocks;
    bytes += ranked[i].bytes;
    FUZZ_CHECK(i == 0 || ranked[i - 1].bytes >= ranked[i].bytes);
  }
  FUZZ_CHECK(blocks == log.blocks && bytes == log.bytes);
  FUZZ_CHECK(grouping == Grouping::kFile || ranked.size() == log.sites.size());
}

// Up to kMaxRoundTripBlocks blocks from `in` (a name holds no line end),
// logged by the tracker's writer, read back as their sites in order of first
// block, with the totals of the blocks.
void CheckRoundTrip(fuzz::Input in) {
  struct Block {
    std::uint32_t size;
    std::int32_t line;
    std::string file;
  };
  std::vector<Block> blocks(1 + in.Byte() % kMaxRoundTripBlocks);
  LeakLog expected;
  for (Block& block : blocks) {
    block.size = in.Bits32();
    block.line = static_cast<std::int32_t>(in.Bits32());
    block.file = in.Text();
    std::replace(block.file.begin(), block.file.end(), '\n', ' ');
    auto site = std::find_if(
        expected.sites.begin(), expected.sites.end(), [&](const Site& s) {
          return s.file == block.file && s.line == block.line;
        });
    if (site == expected.sites.end())
      site = expected.sites.insert(site, Site{block.file, block.line});
    ++site->blocks;
    site->bytes += block.size;
    site->largest = std::max(site->largest, block.size);
    ++expected.blocks;
    expected.bytes += block.size;
  }
  expected.logged_blocks = static_cast<std::int32_t>(expected.blocks);
  expected.logged_bytes =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(expected.bytes));
  {
    morvane::tracker::LeakReport report(kRoundTripLog, expected.logged_bytes,
                                        expected.logged_blocks);
    for (Block& block : blocks)
      report.Add({nullptr, block.size, block.line, block.file.data()});
  }
  const LeakLog read = morvane::leaks::ReadLeakLogFile(kRoundTripLog);
  std::remove(kRoundTripLog);
  FUZZ_CHECK(Describe(read) == Describe(expected));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input input(data, size);
  std::uint32_t cut = input.Byte();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string_view log_bytes = bytes.substr(size > 0 ? 1 : 0);

  CheckRoundTrip(input);

  LeakLogReader whole;
  whole.Feed(log_bytes);
  const bool failed = whole.Failed();  // no later line can undo a failure
  LeakLog log = whole.Finish();
  FUZZ_CHECK(!failed || log.error);

  LeakLogReader pieces;
  for (std::size_t at = 0; at < log_bytes.size();) {
    cut = cut * 1103515245u + 12345u;
    const std::size_t piece = 1 + (cut >> 16) % 97;
    pieces.Feed(log_bytes.substr(at, piece));
    at += piece;
  }
  FUZZ_CHECK(Describe(pieces.Finish()) == Describe(log));
  if (log.error) return 0;

  for (const Site& site : log.sites) {
    FUZZ_CHECK(site.blocks > 0 && site.largest <= site.bytes);
    FUZZ_CHECK(site.bytes <= site.largest * site.blocks);
  }
  CheckRanking(log, Grouping::kSite);
  CheckRanking(log, Grouping::kFile);

  morvane::leaks::Summary summary;
  summary.name = "fuzz";
  summary.ranked = morvane::leaks::Rank(log.sites, Grouping::kSite);
  summary.log = std::move(log);
  std::ostringstream out;
  morvane::leaks::WriteText(out, summary);
  morvane::leaks::WriteCsv(out, summary);
  morvane::leaks::WriteHtml(out, summary);
  return 0;
}
