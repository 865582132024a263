// A read leak log summarised by call site: the ranking of its sites and the
// three ways of showing it (text, CSV, HTML page).
#ifndef MORVANE_TOOLS_LEAKS_LEAK_SUMMARY_H_
#define MORVANE_TOOLS_LEAKS_LEAK_SUMMARY_H_

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "leak_log_reader.h"

namespace morvane::leaks {

enum class Grouping {
  kSite,  // one row per source file and line
  kFile,  // one row per source file
};

// `sites` ranked: the most bytes first; equal bytes by more blocks, then by
// file (in byte order) and line. By file, the sites of each file are added
// up into one, whose line is 0 and whose largest block is theirs.
std::vector<Site> Rank(std::vector<Site> sites, Grouping grouping);

struct Summary {
  std::string name;  // the log's file, as the user named it
  LeakLog log;
  Grouping grouping = Grouping::kSite;
  std::vector<Site> ranked;  // Rank(log.sites, grouping)
  std::size_t top = 20;      // rows shown in text and HTML; 0: every row
};

// The totals, whether the log's own totals agree, and the first `top` rows
// with their bytes, share of all leaked bytes, blocks and largest block.
// Control characters of a file name are shown as \xNN.
void WriteText(std::ostream& out, const Summary& summary);

// Every row, as CSV with a header row: file (always quoted), line (by site
// only), blocks, bytes, share (per cent, two decimals; empty when nothing
// was leaked) and largest.
void WriteCsv(std::ostream& out, const Summary& summary);

// One self-contained page (no script, nothing fetched): the totals, the
// warnings, a bar chart of the largest rows in inline SVG and the table of
// WriteText.
void WriteHtml(std::ostream& out, const Summary& summary);

}  // namespace morvane::leaks

#endif  // MORVANE_TOOLS_LEAKS_LEAK_SUMMARY_H_
