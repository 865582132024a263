// morvane-leaks's reader on any bytes: the input's first byte chooses how
// the rest is cut into pieces, and the reading in pieces must give what the
// reading in one piece gives. A log that is read must add up: its sites'
// blocks and bytes are its totals, each site's largest block lies within its
// bytes, the ranking puts the most bytes first by site and by file, and the
// text, CSV and HTML summaries are written.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "leak_log_reader.h"
#include "leak_summary.h"

namespace {

using morvane::leaks::Grouping;
using morvane::leaks::Issue;
using morvane::leaks::LeakLog;
using morvane::leaks::LeakLogReader;
using morvane::leaks::Site;

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input input(data, size);
  std::uint32_t cut = input.Byte();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string_view log_bytes = bytes.substr(size > 0 ? 1 : 0);

  LeakLogReader whole;
  whole.Feed(log_bytes);
  LeakLog log = whole.Finish();

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
