#include "leak_summary.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>

namespace morvane::leaks {
namespace {

using std::string_view;

// Rows drawn in the HTML chart, and its geometry (pixels).
constexpr std::size_t kChartBars = 25;
constexpr int kChartWidth = 960;
constexpr int kChartLabelWidth = 380;
constexpr int kChartBarWidth = 470;
constexpr int kChartRowHeight = 24;
constexpr int kChartBarHeight = 16;
// Characters of a file name in a chart label; longer ones keep their end.
constexpr std::size_t kChartLabelChars = 46;
constexpr char kEllipsis[] = "\xE2\x80\xA6";

constexpr char kPageStyle[] =
    "body{font-family:system-ui,sans-serif;margin:2em;color:#222}"
    "h1{font-size:1.4em}"
    "table{border-collapse:collapse;margin-top:1em}"
    "th,td{padding:.25em .8em;border-bottom:1px solid #ddd}"
    "th{text-align:right;background:#f4f4f4}"
    "td.n{text-align:right;font-variant-numeric:tabular-nums}"
    "th.site,td.site{text-align:left;word-break:break-all}"
    ".warnings{color:#a40}"
    "svg{max-width:100%;height:auto}svg text{font-size:13px}";

struct Words {
  const char* row;   // one row of the table
  const char* rows;  // several
  const char* header;
};

Words WordsFor(Grouping grouping) {
  return grouping == Grouping::kFile
             ? Words{"source file", "source files", "source file"}
             : Words{"call site", "call sites", "call site"};
}

std::string Count(std::uint64_t value, const char* one, const char* many) {
  return std::to_string(value) + ' ' + (value == 1 ? one : many);
}

std::string Bytes(std::uint64_t value) { return Count(value, "byte", "bytes"); }

std::string Blocks(std::uint64_t value) {
  return Count(value, "block", "blocks");
}

// The share of `part` in `whole`, in per cent with `decimals` decimals;
// empty when the whole is nothing.
std::string Share(std::uint64_t part, std::uint64_t whole, int decimals) {
  if (whole == 0) return std::string();
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals,
                100.0 * static_cast<double>(part) / static_cast<double>(whole));
  return text;
}

std::string SiteName(const Site& site, Grouping grouping) {
  if (grouping == Grouping::kFile) return site.file;
  return site.file + ':' + std::to_string(site.line);
}

// Control characters as \xNN, so that a name cannot move a terminal's cursor.
std::string Printable(string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}

std::string Html(string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return Printable(out);
}

// The end of a long name, cut at a character boundary of UTF-8.
std::string ChartLabel(const std::string& name) {
  if (name.size() <= kChartLabelChars) return name;
  std::size_t start = name.size() - kChartLabelChars;
  while (start < name.size() &&
         (static_cast<unsigned char>(name[start]) & 0xC0) == 0x80) {
    ++start;
  }
  return kEllipsis + name.substr(start);
}

std::size_t RowsShown(const Summary& summary) {
  const std::size_t all = summary.ranked.size();
  return summary.top == 0 ? all : std::min(summary.top, all);
}

// The totals in words: what the blocks add up to, and what the log says.
std::string TotalsLine(const Summary& summary) {
  const LeakLog& log = summary.log;
  const Words words = WordsFor(summary.grouping);
  std::string text = Bytes(log.bytes) + " leaked in " + Blocks(log.blocks) +
                     ", from " +
                     Count(summary.ranked.size(), words.row, words.rows);
  if (log.skipped_blocks > 0) {
    text += " (" + Blocks(log.skipped_blocks) + " skipped, not counted)";
  }
  return text;
}

std::string LoggedTotalsLine(const LeakLog& log) {
  return "the log's own totals: " +
         Bytes(static_cast<std::uint32_t>(log.logged_bytes)) + " in " +
         Blocks(static_cast<std::uint32_t>(log.logged_blocks)) +
         (log.TotalsAgree() ? ", which agree with its blocks"
                            : ", which do NOT agree with its blocks");
}

// The rows past the first `shown`, added up.
struct Rest {
  std::size_t rows = 0;
  std::uint64_t blocks = 0;
  std::uint64_t bytes = 0;
};

Rest RestAfter(const Summary& summary, std::size_t shown) {
  Rest rest;
  for (std::size_t i = shown; i < summary.ranked.size(); ++i) {
    ++rest.rows;
    rest.blocks += summary.ranked[i].blocks;
    rest.bytes += summary.ranked[i].bytes;
  }
  return rest;
}

std::string RestLine(const Summary& summary, const Rest& rest) {
  const Words words = WordsFor(summary.grouping);
  const std::string share = Share(rest.bytes, summary.log.bytes, 1);
  const std::string one = std::string("more ") + words.row;
  const std::string many = std::string("more ") + words.rows;
  return "and " + Count(rest.rows, one.c_str(), many.c_str()) + ": " +
         Bytes(rest.bytes) + (share.empty() ? "" : " (" + share + "%)") +
         " in " + Blocks(rest.blocks);
}

}  // namespace

std::vector<Site> Rank(std::vector<Site> sites, Grouping grouping) {
  if (grouping == Grouping::kFile) {
    std::vector<Site> files;
    std::unordered_map<string_view, std::size_t> index;
    for (const Site& site : sites) {
      auto found = index.find(site.file);
      if (found == index.end()) {
        found = index.emplace(site.file, files.size()).first;
        files.push_back(Site{site.file, 0, 0, 0, 0});
      }
      Site& file = files[found->second];
      file.blocks += site.blocks;
      file.bytes += site.bytes;
      file.largest = std::max(file.largest, site.largest);
    }
    sites = std::move(files);
  }
  std::sort(sites.begin(), sites.end(), [](const Site& a, const Site& b) {
    return std::tie(b.bytes, b.blocks, a.file, a.line) <
           std::tie(a.bytes, a.blocks, b.file, b.line);
  });
  return sites;
}

void WriteText(std::ostream& out, const Summary& summary) {
  const LeakLog& log = summary.log;
  out << Printable(summary.name) << ": " << TotalsLine(summary) << '\n'
      << LoggedTotalsLine(log) << '\n';
  const std::size_t shown = RowsShown(summary);
  if (shown == 0) return;
  const Words words = WordsFor(summary.grouping);
  std::vector<std::string> cells[4] = {
      {"bytes"}, {"share"}, {"blocks"}, {"largest"}};
  for (std::size_t i = 0; i < shown; ++i) {
    const Site& site = summary.ranked[i];
    const std::string share = Share(site.bytes, log.bytes, 1);
    cells[0].push_back(std::to_string(site.bytes));
    cells[1].push_back(share.empty() ? "-" : share + '%');
    cells[2].push_back(std::to_string(site.blocks));
    cells[3].push_back(std::to_string(site.largest));
  }
  std::size_t widths[4];
  for (int column = 0; column < 4; ++column) {
    widths[column] = 0;
    for (const std::string& cell : cells[column]) {
      widths[column] = std::max(widths[column], cell.size());
    }
  }
  out << '\n';
  for (std::size_t row = 0; row <= shown; ++row) {
    for (int column = 0; column < 4; ++column) {
      const std::string& cell = cells[column][row];
      out << std::string(widths[column] - cell.size() + 2, ' ') << cell;
    }
    out << "  "
        << (row == 0 ? words.header
                     : Printable(
                           SiteName(summary.ranked[row - 1], summary.grouping)))
        << '\n';
  }
  const Rest rest = RestAfter(summary, shown);
  if (rest.rows > 0) out << RestLine(summary, rest) << '\n';
}

void WriteCsv(std::ostream& out, const Summary& summary) {
  const bool by_site = summary.grouping == Grouping::kSite;
  out << (by_site ? "file,line,blocks,bytes,share,largest\n"
                  : "file,blocks,bytes,share,largest\n");
  for (const Site& site : summary.ranked) {
    out << '"';
    for (const char c : site.file) {
      if (c == '"') out << '"';
      out << c;
    }
    out << '"';
    if (by_site) out << ',' << site.line;
    out << ',' << site.blocks << ',' << site.bytes << ','
        << Share(site.bytes, summary.log.bytes, 2) << ',' << site.largest
        << '\n';
  }
}

void WriteHtml(std::ostream& out, const Summary& summary) {
  const LeakLog& log = summary.log;
  const Words words = WordsFor(summary.grouping);
  const std::size_t shown = RowsShown(summary);
  const std::string title = "Leaks in " + Html(summary.name);
  out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n"
         "<meta charset=\"utf-8\">\n<title>"
      << title << "</title>\n<style>" << kPageStyle
      << "</style>\n</head>\n<body>\n<h1>" << title << "</h1>\n<p>"
      << Html(TotalsLine(summary)) << ".<br>" << Html(LoggedTotalsLine(log))
      << ".</p>\n";
  if (!log.warnings.empty()) {
    out << "<ul class=\"warnings\">\n";
    for (const Issue& warning : log.warnings) {
      out << "<li>line " << warning.line << ": " << Html(warning.text)
          << "</li>\n";
    }
    if (log.warning_count > log.warnings.size()) {
      out << "<li>" << log.warning_count - log.warnings.size()
          << " more warnings</li>\n";
    }
    out << "</ul>\n";
  }
  if (shown == 0) {
    out << "</body>\n</html>\n";
    return;
  }

  const std::size_t bars = std::min(shown, kChartBars);
  const std::uint64_t most =
      std::max<std::uint64_t>(summary.ranked[0].bytes, 1);
  out << "<h2>The " << Count(bars, words.row, words.rows)
      << " with the most bytes</h2>\n<svg height=\"" << bars * kChartRowHeight
      << "\" width=\"" << kChartWidth << "\" viewBox=\"0 0 " << kChartWidth
      << ' ' << bars * kChartRowHeight << "\" role=\"img\">\n";
  for (std::size_t i = 0; i < bars; ++i) {
    const Site& site = summary.ranked[i];
    const std::string name = SiteName(site, summary.grouping);
    const auto y = static_cast<int>(i) * kChartRowHeight;
    const auto width =
        static_cast<int>(static_cast<double>(site.bytes) /
                         static_cast<double>(most) * kChartBarWidth);
    const std::string share = Share(site.bytes, log.bytes, 1);
    out << "<g><title>" << Html(name) << ": " << Bytes(site.bytes) << " in "
        << Blocks(site.blocks) << "</title><text x=\"" << kChartLabelWidth - 8
        << "\" y=\"" << y + kChartBarHeight - 3 << "\" text-anchor=\"end\">"
        << Html(ChartLabel(name)) << "</text><rect x=\"" << kChartLabelWidth
        << "\" y=\"" << y << "\" width=\"" << std::max(width, 1)
        << "\" height=\"" << kChartBarHeight
        << "\" fill=\"#c0392b\"></rect><text x=\""
        << kChartLabelWidth + std::max(width, 1) + 6 << "\" y=\""
        << y + kChartBarHeight - 3 << "\">" << site.bytes
        << (share.empty() ? "" : " (" + share + "%)") << "</text></g>\n";
  }
  out << "</svg>\n";

  out << "<table>\n<thead><tr><th>bytes</th><th>share</th><th>blocks</th>"
         "<th>largest</th><th class=\"site\">"
      << words.header << "</th></tr></thead>\n<tbody>\n";
  for (std::size_t i = 0; i < shown; ++i) {
    const Site& site = summary.ranked[i];
    const std::string share = Share(site.bytes, log.bytes, 1);
    out << "<tr><td class=\"n\">" << site.bytes << "</td><td class=\"n\">"
        << (share.empty() ? "-" : share + '%') << "</td><td class=\"n\">"
        << site.blocks << "</td><td class=\"n\">" << site.largest
        << "</td><td class=\"site\">" << Html(SiteName(site, summary.grouping))
        << "</td></tr>\n";
  }
  out << "</tbody>\n</table>\n";
  const Rest rest = RestAfter(summary, shown);
  if (rest.rows > 0) out << "<p>" << Html(RestLine(summary, rest)) << ".</p>\n";
  out << "</body>\n</html>\n";
}

}  // namespace morvane::leaks
