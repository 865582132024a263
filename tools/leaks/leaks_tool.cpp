#include "leaks_tool.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <utility>

#include "leak_log_reader.h"
#include "leak_summary.h"

namespace morvane::leaks {
namespace {

constexpr char kProgram[] = "morvane-leaks: ";
constexpr char kUsage[] =
    "usage: morvane-leaks [--top N] [--by site|file] [--csv] [--html FILE] "
    "LOG\n";
constexpr char kHelp[] =
    "Summarises a leak log written by the morvane tracker (bmemlog.log):\n"
    "the bytes and blocks leaked, whether the log's own totals agree, and one\n"
    "row per call site (source file and line), the most bytes first, with\n"
    "its blocks, bytes, share of all leaked bytes and largest block.\n"
    "\n"
    "  --top N      show the first N rows (default 20; 0 shows every row)\n"
    "  --by file    one row per source file; --by site (the default): one\n"
    "               per source file and line\n"
    "  --csv        print every row as CSV instead of the summary:\n"
    "               file,line,blocks,bytes,share,largest (no line by file)\n"
    "  --html FILE  also write the summary to FILE as a self-contained HTML\n"
    "               page with a bar chart of the largest rows\n"
    "  --help       print this help\n"
    "\n"
    "Messages go to standard error, each naming the log and its line.\n"
    "Exit status: 0 summarised; 1 summarised with warnings (blocks skipped,\n"
    "a log cut off, text after its end, or totals that do not agree with the\n"
    "blocks); 2 no summary (usage error, a log that cannot be read or is not\n"
    "a leak log, an HTML page that cannot be written).\n";

struct Options {
  std::string log;
  std::string html;
  bool csv = false;
  bool help = false;
  Grouping grouping = Grouping::kSite;
  std::size_t top = 20;
};

std::optional<std::size_t> ParseCount(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  std::size_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::size_t>(c - '0');
  }
  return value;
}

// The options, or a usage error's text.
std::pair<Options, std::string> ParseArgs(
    const std::vector<std::string>& args) {
  Options options;
  bool have_log = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--csv") {
      options.csv = true;
    } else if (arg == "--top" || arg == "--by" || arg == "--html") {
      if (!has_value) return {options, arg + " needs a value"};
      const std::string& value = args[++i];
      if (arg == "--html") {
        options.html = value;
      } else if (arg == "--top") {
        const std::optional<std::size_t> top = ParseCount(value);
        if (!top) return {options, "--top needs a number, not " + value};
        options.top = *top;
      } else if (value == "site" || value == "file") {
        options.grouping = value == "file" ? Grouping::kFile : Grouping::kSite;
      } else {
        return {options, "--by takes site or file, not " + value};
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      return {options, "unknown option " + arg};
    } else if (have_log) {
      return {options, "one log at a time, not also " + arg};
    } else {
      options.log = arg;
      have_log = true;
    }
  }
  if (!have_log && !options.help) return {options, "no log named"};
  return {options, std::string()};
}

void Report(std::ostream& err, const std::string& name, const Issue& issue,
            const char* kind) {
  err << kProgram << name;
  if (issue.line > 0) err << ':' << issue.line;
  err << ": " << kind << ": " << issue.text << '\n';
}

}  // namespace

int RunLeaksTool(const std::vector<std::string>& args, std::ostream& out,
                 std::ostream& err) {
  const auto [options, problem] = ParseArgs(args);
  if (!problem.empty()) {
    err << kProgram << problem << '\n' << kUsage;
    return kNoSummary;
  }
  if (options.help) {
    out << kUsage << '\n' << kHelp;
    return kSummarised;
  }

  Summary summary;
  summary.name = options.log;
  summary.log = ReadLeakLogFile(options.log);
  if (summary.log.error) {
    Report(err, options.log, *summary.log.error, "error");
    return kNoSummary;
  }
  const LeakLog& log = summary.log;
  for (const Issue& warning : log.warnings) {
    Report(err, options.log, warning, "warning");
  }
  if (log.warning_count > log.warnings.size()) {
    Report(err, options.log,
           Issue{0, std::to_string(log.warning_count - log.warnings.size()) +
                        " more warnings not shown"},
           "warning");
  }
  if (!log.TotalsAgree()) {
    Report(err, options.log,
           Issue{0, "the log's own totals do not agree with its blocks"},
           "warning");
  }
  summary.grouping = options.grouping;
  summary.top = options.top;
  summary.ranked = Rank(log.sites, options.grouping);

  if (!options.html.empty()) {
    std::ofstream page(options.html, std::ios::binary);
    if (page) WriteHtml(page, summary);
    if (!page.flush()) {
      err << kProgram << "cannot write " << options.html << '\n';
      return kNoSummary;
    }
  }
  if (options.csv) {
    WriteCsv(out, summary);
  } else {
    WriteText(out, summary);
  }
  return log.warning_count > 0 || !log.TotalsAgree() ? kSummarisedWithWarnings
                                                     : kSummarised;
}

}  // namespace morvane::leaks
